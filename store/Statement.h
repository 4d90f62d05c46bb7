// A prepared SQL statement: values are bound, never written into the text. Movable, not copyable,
// finalised when it goes out of scope.
#pragma once

#include "store/Value.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace store {

class Connection;

class Statement {
public:
    Statement(const Connection& connection, std::string_view sql);
    Statement(Statement&&) noexcept = default;
    Statement& operator=(Statement&&) noexcept = default;
    ~Statement() = default;

    // Binds parameter `index` (from 1).
    Statement& bind(int index, const Value& value);
    Statement& bind(int index, std::int64_t value);
    Statement& bind(int index, double value);
    Statement& bind(int index, std::string_view text);
    Statement& bind(int index, const std::string& text) { return bind(index, std::string_view(text)); }
    Statement& bind(int index, const char* text) { return bind(index, std::string_view(text)); }

    // True while a row is ready, false once the statement has run to its end.
    bool step();
    // Ready to run again, bindings kept; also ends the statement's hold on the file.
    void reset() noexcept;

    int columnCount() const;
    std::string_view columnName(int column) const;
    bool isNull(int column) const;
    std::int64_t getInt64(int column) const;
    // Valid until the next step, reset or destruction.
    std::string_view getText(int column) const;
    Value getValue(int column) const;

private:
    struct Finalizer {
        void operator()(sqlite3_stmt* statement) const noexcept;
    };

    sqlite3* m_db;
    std::unique_ptr<sqlite3_stmt, Finalizer> m_statement;
};

} // namespace store
