// What SQLite and PostgreSQL read alike: SQL's own quoting of a name.
#pragma once

#include <string>
#include <string_view>

namespace store {

// Double-quotes an identifier that the program took from its own constants or a database's schema.
inline std::string quoteIdentifier(std::string_view name) {
    std::string quoted = "\"";
    for (const char c : name) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + "\"";
}

} // namespace store
