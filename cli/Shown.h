// Text from a database or from the input, as a terminal should show it: a name holding ESC ] or ESC [
// must not retitle the window or clear the screen of the user who lists it.
#pragma once

#include <string>
#include <string_view>

namespace cli {

// `text` as it is when `terminal` is false (files and pipes get the bytes as stored). On a terminal,
// as `ls -b` shows a file name: a backslash doubled, \a \b \t \n \v \f \r for those controls, and
// every other control byte (C0, DEL, the C1 controls of UTF-8) and every byte that is not valid UTF-8
// as \ooo in octal; printable UTF-8 text is kept as it is.
std::string shown(std::string_view text, bool terminal);

// The same for a message of several lines: its line breaks stay line breaks.
std::string shownMessage(std::string_view text, bool terminal);

} // namespace cli
