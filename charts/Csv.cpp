#include "charts/Csv.h"

#include "almanac/Ascii.h"

namespace charts {

void appendCsvField(std::string& line, std::string_view field) {
    const bool quote = field.find_first_of(",\"\r\n") != std::string_view::npos ||
                       (!field.empty() && (field.front() == ' ' || field.back() == ' '));
    if (!quote) {
        line += field;
        return;
    }
    line += '"';
    for (const char c : field) {
        if (c == '"')
            line += '"';
        line += c;
    }
    line += '"';
}

std::string csvField(std::string_view field) {
    std::string text;
    appendCsvField(text, field);
    return text;
}

bool splitFields(std::string_view line, std::span<std::string_view> fields) {
    for (std::size_t at = 0; at < fields.size(); ++at) {
        const std::size_t comma = line.find(',');
        if ((comma == std::string_view::npos) != (at + 1 == fields.size()))
            return false;
        fields[at] = almanac::trimmedAscii(line.substr(0, comma));
        line.remove_prefix(comma == std::string_view::npos ? line.size() : comma + 1);
    }
    return true;
}

} // namespace charts
