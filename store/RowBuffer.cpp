#include "store/RowBuffer.h"

#include <sqlite3.h>

#include <bit>
#include <cstring>

namespace store {

namespace {

void putVarint(std::string& out, std::uint64_t value) {
    while (value >= 0x80) {
        out += static_cast<char>((value & 0x7f) | 0x80);
        value >>= 7;
    }
    out += static_cast<char>(value);
}

std::uint64_t getVarint(const char*& in) {
    std::uint64_t value = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(*in++);
        value |= static_cast<std::uint64_t>(byte & 0x7f) << shift;
        if (!(byte & 0x80))
            return value;
    }
}

// Zig-zag keeps small negative numbers small.
std::uint64_t zigzag(std::int64_t v) {
    return (static_cast<std::uint64_t>(v) << 1) ^ static_cast<std::uint64_t>(v >> 63);
}
std::int64_t unzigzag(std::uint64_t v) {
    return static_cast<std::int64_t>(v >> 1) ^ -static_cast<std::int64_t>(v & 1);
}

} // namespace

void RowBuffer::append(sqlite3_stmt* statement, int first) {
    std::string& out = m_packing;
    out.clear();
    for (int column = first; column < first + m_columns; ++column) {
        switch (sqlite3_column_type(statement, column)) {
        case SQLITE_NULL:
            out += static_cast<char>(ValueKind::Null);
            break;
        case SQLITE_INTEGER:
            out += static_cast<char>(ValueKind::Integer);
            putVarint(out, zigzag(sqlite3_column_int64(statement, column)));
            break;
        case SQLITE_FLOAT: {
            out += static_cast<char>(ValueKind::Real);
            const auto bits = std::bit_cast<std::uint64_t>(sqlite3_column_double(statement, column));
            out.append(reinterpret_cast<const char*>(&bits), sizeof bits);
            break;
        }
        default: { // text, and blobs taken as their bytes
            const auto* text = static_cast<const char*>(sqlite3_column_blob(statement, column));
            const auto length = static_cast<std::size_t>(sqlite3_column_bytes(statement, column));
            out += static_cast<char>(ValueKind::Text);
            putVarint(out, length);
            out.append(text ? text : "", length);
            break;
        }
        }
    }
    m_rows.push_back(m_bytes.keep(out).data());
}

FieldData RowBuffer::field(std::size_t row, int ordinal) const {
    const char* in = m_rows[row];
    for (int column = 0;; ++column) {
        FieldData data;
        data.kind = static_cast<ValueKind>(*in++);
        switch (data.kind) {
        case ValueKind::Null:
            break;
        case ValueKind::Integer:
            data.integer = unzigzag(getVarint(in));
            break;
        case ValueKind::Real: {
            std::uint64_t bits = 0;
            std::memcpy(&bits, in, sizeof bits);
            data.real = std::bit_cast<double>(bits);
            in += sizeof bits;
            break;
        }
        case ValueKind::Text: {
            const auto length = getVarint(in);
            data.text = std::string_view(in, length);
            in += length;
            break;
        }
        }
        if (column == ordinal)
            return data;
    }
}

} // namespace store
