// The bodies the program reckons with, and the choices that change how it reckons: the ayanamsa, the
// lunar node taken for Rahu and the karaka scheme. Each choice has a key (what the command line and
// stored settings say) and, where a person reads it, a label.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace sky {

// The order is the display order, and it breaks ties between karakas: an earlier body ranks higher.
// Ketu, always opposite Rahu, is never a karaka and is not reckoned separately.
enum class Body { Sun, Moon, Mars, Mercury, Jupiter, Venus, Saturn, Rahu };

inline constexpr std::size_t kBodyCount = 8;
inline constexpr std::array<Body, kBodyCount> kBodies{Body::Sun,     Body::Moon,  Body::Mars,   Body::Mercury,
                                                      Body::Jupiter, Body::Venus, Body::Saturn, Body::Rahu};

constexpr std::size_t index(Body body) {
    return static_cast<std::size_t>(body);
}

constexpr std::string_view bodyName(Body body) {
    constexpr std::array<std::string_view, kBodyCount> names{"Sun",     "Moon",  "Mars",   "Mercury",
                                                             "Jupiter", "Venus", "Saturn", "Rahu"};
    return names[index(body)];
}

enum class Ayanamsa { Lahiri, Raman, Krishnamurti, FaganBradley, TrueChitra, Yukteshwar };

inline constexpr std::array<Ayanamsa, 6> kAyanamsas{Ayanamsa::Lahiri,       Ayanamsa::Raman,
                                                    Ayanamsa::Krishnamurti, Ayanamsa::FaganBradley,
                                                    Ayanamsa::TrueChitra,   Ayanamsa::Yukteshwar};

constexpr std::string_view ayanamsaKey(Ayanamsa ayanamsa) {
    constexpr std::array<std::string_view, kAyanamsas.size()> keys{
        "lahiri", "raman", "krishnamurti", "fagan-bradley", "true-chitra", "yukteshwar"};
    return keys[static_cast<std::size_t>(ayanamsa)];
}

constexpr std::string_view ayanamsaLabel(Ayanamsa ayanamsa) {
    constexpr std::array<std::string_view, kAyanamsas.size()> labels{
        "Lahiri (Chitrapaksha)", "Raman",       "Krishnamurti (KP)",
        "Fagan/Bradley",         "True Chitra", "Sri Yukteshwar"};
    return labels[static_cast<std::size_t>(ayanamsa)];
}

constexpr std::optional<Ayanamsa> parseAyanamsa(std::string_view key) {
    for (const Ayanamsa ayanamsa : kAyanamsas)
        if (ayanamsaKey(ayanamsa) == key)
            return ayanamsa;
    return std::nullopt;
}

// Rahu is the Moon's ascending node: the mean node moves smoothly backwards, the true (osculating) node
// wobbles about it by up to a degree and a half.
enum class Node { Mean, True };

constexpr std::string_view nodeKey(Node node) {
    return node == Node::Mean ? "mean" : "true";
}

constexpr std::optional<Node> parseNode(std::string_view key) {
    if (key == nodeKey(Node::Mean))
        return Node::Mean;
    if (key == nodeKey(Node::True))
        return Node::True;
    return std::nullopt;
}

// The chara karakas: eight (Sun to Saturn and Rahu) or seven (Sun to Saturn, no Pitrikaraka).
enum class KarakaScheme { Eight = 8, Seven = 7 };

constexpr int karakaCount(KarakaScheme scheme) {
    return static_cast<int>(scheme);
}

constexpr std::optional<KarakaScheme> parseKarakaScheme(int count) {
    if (count == 8)
        return KarakaScheme::Eight;
    if (count == 7)
        return KarakaScheme::Seven;
    return std::nullopt;
}

} // namespace sky
