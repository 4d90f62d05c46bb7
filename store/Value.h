// A value read from or written to the database: null, a whole number, a real number or text (UTF-8).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace store {

class Value {
public:
    using Data = std::variant<std::monostate, std::int64_t, double, std::string>;

    Value() = default;
    Value(std::int64_t v)
        : m_data(v) {}
    Value(int v)
        : m_data(std::int64_t{v}) {}
    Value(double v)
        : m_data(v) {}
    Value(std::string v)
        : m_data(std::move(v)) {}
    Value(std::string_view v)
        : m_data(std::string(v)) {}
    Value(const char* v)
        : m_data(std::string(v)) {}

    const Data& data() const { return m_data; }
    bool isNull() const { return std::holds_alternative<std::monostate>(m_data); }

    friend bool operator==(const Value&, const Value&) = default;

private:
    Data m_data;
};

// A value read from a named column, with the conversions the program makes. An error names the column.
class Field {
public:
    Field(std::string_view name, const Value& value)
        : m_name(name)
        , m_value(value) {}

    std::string_view name() const { return m_name; }
    const Value& value() const { return m_value; }
    bool isNull() const { return m_value.isNull(); }

    // Numbers in plain decimal; throws NullValue for a null.
    std::string toText() const;
    // Whole-number texts ("7") are accepted. Throws NullValue, NotWholeNumber or NumberTooLarge.
    std::int16_t toInt16() const;

private:
    std::string_view m_name;
    const Value& m_value;
};

} // namespace store
