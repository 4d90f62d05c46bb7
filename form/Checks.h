// The checks that run before "Calculate" and "Save" may use the entries, and the reading of a complete
// body row as a longitude.
#pragma once

#include "form/Controls.h"

#include <optional>
#include <string>
#include <string_view>

namespace form {

// Passes when the name box holds any text at all, blanks included. Otherwise shows `message`, moves the
// focus to the name box and fails. "Calculate" and "Save" each have their own message.
bool checkName(Window& window, std::string_view message);

// The message for the first entry still missing, or nothing when all twelve are chosen. Three passes
// over the body rows: every sign, then every degree, then every minute, so a missing sign anywhere comes
// before a missing degree. The row's caption is read as it stands at that moment.
std::optional<std::string> missingEntryMessage(Window& window);

// Shows the message of the first missing entry and fails; changes nothing on the form.
bool checkBodyRows(Window& window);

// Longitude in minutes of a row that passed the checks: the sign from its position in the list, the
// degrees and minutes from the texts of the chosen entries.
int rowLongitude(Window& window, int row);

} // namespace form
