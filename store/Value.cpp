#include "store/Value.h"

#include "store/Error.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace store {

namespace {

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

template <typename... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};

} // namespace

std::string Field::toText() const {
    return std::visit(Overloaded{
                          [&](std::monostate) -> std::string { throw Error(Errc::NullValue, m_name); },
                          [](std::int64_t whole) { return std::to_string(whole); },
                          [](double real) {
                              char buffer[32];
                              const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, real);
                              return std::string(buffer, ec == std::errc{} ? end : buffer);
                          },
                          [](const std::string& text) { return text; },
                      },
                      m_value.data());
}

std::int16_t Field::toInt16() const {
    const std::int64_t whole =
        std::visit(Overloaded{
                       [&](std::monostate) -> std::int64_t { throw Error(Errc::NullValue, m_name); },
                       [](std::int64_t value) { return value; },
                       [&](double real) {
                           if (!std::isfinite(real) || std::trunc(real) != real)
                               throw Error(Errc::NotWholeNumber, m_name);
                           if (std::fabs(real) > 1e6)
                               throw Error(Errc::NumberTooLarge, m_name);
                           return static_cast<std::int64_t>(real);
                       },
                       [&](const std::string& text) {
                           const std::string_view digits = trimBlanks(text);
                           const char* const end = digits.data() + digits.size();
                           std::int64_t value = 0;
                           const auto [stop, ec] = std::from_chars(digits.data(), end, value);
                           if (digits.empty() || stop != end || ec == std::errc::invalid_argument)
                               throw Error(Errc::NotWholeNumber, m_name);
                           if (ec == std::errc::result_out_of_range)
                               throw Error(Errc::NumberTooLarge, m_name);
                           return value;
                       },
                   },
                   m_value.data());
    if (whole < std::numeric_limits<std::int16_t>::min() || whole > std::numeric_limits<std::int16_t>::max())
        throw Error(Errc::NumberTooLarge, m_name);
    return static_cast<std::int16_t>(whole);
}

} // namespace store
