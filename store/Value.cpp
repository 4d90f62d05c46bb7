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

} // namespace

std::string Field::toText() const {
    switch (m_kind) {
    case ValueKind::Null:
        throw Error(Errc::NullValue, m_name);
    case ValueKind::Integer:
        return std::to_string(m_integer);
    case ValueKind::Real: {
        char buffer[32];
        const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, m_real);
        return std::string(buffer, ec == std::errc{} ? end : buffer);
    }
    case ValueKind::Text:
        break;
    }
    return std::string(m_text);
}

std::int16_t Field::toInt16() const {
    std::int64_t whole = 0;
    switch (m_kind) {
    case ValueKind::Null:
        throw Error(Errc::NullValue, m_name);
    case ValueKind::Integer:
        whole = m_integer;
        break;
    case ValueKind::Real:
        if (!std::isfinite(m_real) || std::trunc(m_real) != m_real)
            throw Error(Errc::NotWholeNumber, m_name);
        if (std::fabs(m_real) > 1e6)
            throw Error(Errc::NumberTooLarge, m_name);
        whole = static_cast<std::int64_t>(m_real);
        break;
    case ValueKind::Text: {
        const std::string_view digits = trimBlanks(m_text);
        const char* const end = digits.data() + digits.size();
        const auto [stop, ec] = std::from_chars(digits.data(), end, whole);
        if (digits.empty() || stop != end || ec == std::errc::invalid_argument)
            throw Error(Errc::NotWholeNumber, m_name);
        if (ec == std::errc::result_out_of_range)
            throw Error(Errc::NumberTooLarge, m_name);
        break;
    }
    }
    if (whole < std::numeric_limits<std::int16_t>::min() || whole > std::numeric_limits<std::int16_t>::max())
        throw Error(Errc::NumberTooLarge, m_name);
    return static_cast<std::int16_t>(whole);
}

} // namespace store
