// Loading the window's list of stored names, saving a chart under a name, and recalling one.
#pragma once

#include "almanac/Controls.h"
#include "store/AlmanacDatabase.h"

#include <string_view>

namespace store {

inline constexpr std::string_view kSaveNameMessage = "Enter your Name";
inline constexpr std::string_view kDuplicateMessage = "This record already exists!";
inline constexpr std::string_view kSavedMessage = "Your Record Has Been Saved";

// The window's load: opens the six recordsets, hides the internal nakshatra line, and lists the stored
// names in stored order (or hides the list and its prompt when there are none).
void loadForm(almanac::Form& form, AlmanacDatabase& db);

// "Save": refuses an empty name, a name already stored (exactly, character for character) and
// incomplete rows, each with its message; otherwise stores the name and the twelve positions as one
// new row, says so, relists the names and puts the list's selection back.
void saveChart(almanac::Form& form, AlmanacDatabase& db);

// A selection in the list of stored names: loads the chart at that list position into the name box
// and the twelve selectors. Computes nothing and writes nothing.
void recallChart(almanac::Form& form, AlmanacDatabase& db);

} // namespace store
