// "Calculate": the checks, then the external pair (Sun, Moon) and the internal pair (AK, AmK).
#pragma once

#include "almanac/Controls.h"
#include "almanac/Display.h"

#include <string_view>

namespace almanac {

inline constexpr std::string_view kCalculateNameMessage = "Enter ur name";

// Runs the name check and the row checks, and when both pass computes and shows both pairs. Nothing
// on the form changes when a check fails; nothing is ever stored.
void calculate(Form& form, ReferenceTables& tables);

} // namespace almanac
