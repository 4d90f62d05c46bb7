// CSV as the program writes it (RFC 4180), and the plain comma-separated lines its batches read.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace charts {

// Appends `field` to `line`, quoted where a reader could take it otherwise: when it holds a comma, a
// quote or a line break, or begins or ends with a space, which some readers would drop. A quote inside
// is doubled.
void appendCsvField(std::string& line, std::string_view field);
std::string csvField(std::string_view field);

// Splits a line of plain fields (nothing quoted) at its commas into exactly `fields.size()` fields,
// each without the ASCII white space at its ends. False, and `fields` not to be used, for any other
// number of fields.
bool splitFields(std::string_view line, std::span<std::string_view> fields);

} // namespace charts
