// The checks that run before "Calculate" and "Save" may use the entries, and the reading of a
// complete body row as a longitude.
#pragma once

#include "almanac/Controls.h"

#include <optional>
#include <string>
#include <string_view>

namespace almanac {

// Passes when the name box holds any text at all, blanks included. Otherwise shows `message`, moves
// the focus to the name box and fails. "Calculate" and "Save" each have their own message.
bool checkName(Form& form, std::string_view message);

// The message for the first entry still missing, or nothing when all twelve are chosen. Three passes
// over body rows 0..3: every sign, then every degree, then every minute, so a missing sign anywhere
// comes before a missing degree. The row's caption is read as it stands at that moment.
std::optional<std::string> missingEntryMessage(Form& form);

// Three passes over body rows 0..3: every sign, then every degree, then every minute. The first
// selector left on its prompt entry (or on nothing) shows "Enter the sign of Moon" and the like, with
// the row's caption as it reads at that moment, and fails. Changes nothing on the form.
bool checkBodyRows(Form& form);

// Longitude in minutes of a row that passed the checks: the sign from its position in the list, the
// degrees and minutes from the texts of the chosen entries.
int rowLongitude(Form& form, int row);

} // namespace almanac
