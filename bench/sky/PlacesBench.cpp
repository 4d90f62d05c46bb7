// The birth-place field's completion: from what is typed to the list of labels offered, over the first
// one, two and three letters of 1,000 city names. Goal: `p90_ms`, the 90th percentile of one
// completion, at most 20 ms. Beside it, libgeonames' own search, which looks through every city.
#include "sky/Places.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <geonames.h>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kNames = 1'000;
constexpr std::size_t kOffered = 12; // as the window offers

// The first `letters` characters of a UTF-8 name.
std::string firstLetters(const std::string& name, int letters) {
    std::size_t end = 0;
    for (int n = 0; n < letters && end < name.size(); ++n) {
        ++end; // the character's first byte, then any that continue it
        while (end < name.size() && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80)
            ++end;
    }
    return name.substr(0, end);
}

// The value below which `fraction` of the times fall.
double percentile(std::vector<double> times, double fraction) {
    std::sort(times.begin(), times.end());
    return times.empty()
               ? 0
               : times[std::min(times.size() - 1, static_cast<std::size_t>(fraction * times.size()))];
}

// The 1-, 2- and 3-letter beginnings of 1,000 names spread evenly over GeoNames' list of cities.
const std::vector<std::string>& typedBeginnings() {
    static const std::vector<std::string> made = [] {
        std::vector<std::string> typed;
        const int count = geonames_get_n_cities();
        for (std::size_t n = 0; n < kNames && count > 0; ++n) {
            GeonamesCity* city =
                geonames_get_city(static_cast<int>(n * static_cast<std::size_t>(count) / kNames));
            const std::string name = geonames_city_get_name(city);
            geonames_city_free(city);
            for (int letters = 1; letters <= 3; ++letters)
                typed.push_back(firstLetters(name, letters));
        }
        return typed;
    }();
    return made;
}

void PlaceCompletion(benchmark::State& state) {
    const sky::Gazetteer& places = sky::Gazetteer::instance(); // read before any timing
    const std::vector<std::string>& typed = typedBeginnings();
    std::vector<double> milliseconds;
    milliseconds.reserve(typed.size() * 8);
    std::size_t offered = 0;
    for (auto _ : state) {
        for (const std::string& text : typed) {
            const auto start = Clock::now();
            std::vector<std::string> labels;
            for (const sky::City* city : places.complete(text, kOffered))
                labels.push_back(city->label());
            milliseconds.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            offered += labels.size();
            benchmark::DoNotOptimize(labels.data());
        }
    }
    state.counters["completions"] = static_cast<double>(typed.size());
    state.counters["p90_ms"] = percentile(milliseconds, 0.9);
    state.counters["max_ms"] = percentile(milliseconds, 1);
    state.counters["offered"] = static_cast<double>(offered) / static_cast<double>(milliseconds.size());
}

// libgeonames' own search for a few beginnings, each call looking through every city.
void GeonamesQuery(benchmark::State& state) {
    const char* const typed[] = {"C", "Ch", "Chenn", "Sao", "New", "Ber", "Mu"};
    std::vector<double> milliseconds;
    for (auto _ : state)
        for (const char* text : typed) {
            const auto start = Clock::now();
            guint length = 0;
            gint* found = geonames_query_cities_sync(text, GEONAMES_QUERY_DEFAULT, &length, nullptr, nullptr);
            milliseconds.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            benchmark::DoNotOptimize(found);
            g_free(found);
        }
    state.counters["p90_ms"] = percentile(milliseconds, 0.9);
}

BENCHMARK(PlaceCompletion)->Unit(benchmark::kMillisecond);
BENCHMARK(GeonamesQuery)->Unit(benchmark::kMillisecond);

} // namespace
