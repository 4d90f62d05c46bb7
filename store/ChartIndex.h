// The names of the stored charts in table order, with the key of each: what the list of stored names
// shows, and how a list position finds its chart. One walk over the table makes it; the names sit
// back to back in one buffer, so a million of them cost little more than their text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace store {

class Connection;

class ChartIndex {
public:
    // Reads the name and key of every stored chart. A name left null by some other program is listed
    // as an empty name.
    static ChartIndex read(const Connection& connection);

    std::size_t size() const { return m_rowids.size(); }
    bool empty() const { return m_rowids.empty(); }
    std::string_view name(std::size_t position) const;
    std::int64_t rowid(std::size_t position) const { return m_rowids[position]; }

    // Adds a chart after the last, for a store that reads the names its own way.
    void append(std::int64_t key, std::string_view name) {
        m_rowids.push_back(key);
        m_names += name;
        m_ends.push_back(m_names.size());
    }

private:
    std::string m_names;
    std::vector<std::size_t> m_ends; // where each name ends in m_names
    std::vector<std::int64_t> m_rowids;
};

} // namespace store
