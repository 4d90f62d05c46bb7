// Values handed to the data layer and read back from it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace store {

enum class ValueKind { Null, Integer, Real, Text };

// A value to be written: null, a whole number, a real number or text (UTF-8).
class Value {
public:
    Value() = default;
    Value(std::int16_t v)
        : m_kind(ValueKind::Integer)
        , m_integer(v) {}
    Value(std::int32_t v)
        : m_kind(ValueKind::Integer)
        , m_integer(v) {}
    Value(std::int64_t v)
        : m_kind(ValueKind::Integer)
        , m_integer(v) {}
    Value(double v)
        : m_kind(ValueKind::Real)
        , m_real(v) {}
    Value(std::string v)
        : m_kind(ValueKind::Text)
        , m_text(std::move(v)) {}
    Value(std::string_view v)
        : m_kind(ValueKind::Text)
        , m_text(v) {}
    Value(const char* v)
        : m_kind(ValueKind::Text)
        , m_text(v) {}

    ValueKind kind() const { return m_kind; }
    std::int64_t integer() const { return m_integer; }
    double real() const { return m_real; }
    const std::string& text() const { return m_text; }

private:
    ValueKind m_kind = ValueKind::Null;
    std::int64_t m_integer = 0;
    double m_real = 0;
    std::string m_text;
};

// One field of the current row, read-only. It refers into its recordset's rows and is valid until the
// recordset is moved past, closed or reopened.
class Field {
public:
    Field(std::string_view name, ValueKind kind, std::int64_t integer, double real, std::string_view text)
        : m_name(name)
        , m_kind(kind)
        , m_integer(integer)
        , m_real(real)
        , m_text(text) {}

    std::string_view name() const { return m_name; }
    ValueKind kind() const { return m_kind; }
    bool isNull() const { return m_kind == ValueKind::Null; }

    // The value as text: numbers in plain decimal. Throws NullValue for a null.
    std::string toText() const;
    // The value as a 16-bit whole number; whole-number texts ("7") are accepted. Throws NullValue,
    // NotWholeNumber or NumberTooLarge.
    std::int16_t toInt16() const;

private:
    std::string_view m_name;
    ValueKind m_kind;
    std::int64_t m_integer;
    double m_real;
    std::string_view m_text;
};

} // namespace store
