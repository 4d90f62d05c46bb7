// The texts the window and the command line both say, written once.
#pragma once

#include <string>
#include <string_view>

namespace charts {

// A save or a rename that meets a name stored already.
inline constexpr std::string_view kDuplicateMessage = "This record already exists!";

// What is wrong with a place, after the label of the field or the option it came from.
std::string unknownPlaceProblem(std::string_view name);
inline constexpr std::string_view kNoLatitudeProblem =
    "none given; enter it as 13.0827 N, -33.8688 or 13°04'58\"N";
inline constexpr std::string_view kNoLongitudeProblem =
    "none given; enter it as 80.2707 E, -151.2093 or 80°16'15\"E";

} // namespace charts
