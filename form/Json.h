// The little JSON the command line writes, by hand.
#pragma once

#include <string>
#include <string_view>

namespace cli {

// `text` as a quoted JSON string: quote, backslash and control characters escaped, other UTF-8 as is.
std::string jsonString(std::string_view text);

} // namespace cli
