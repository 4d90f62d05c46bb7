#include "charts/Texts.h"

namespace charts {

std::string unknownPlaceProblem(std::string_view name) {
    return std::string(1, '"').append(name).append(
        "\" is not a city Velmorant knows; pick one of the suggestions, or enter its latitude and "
        "longitude");
}

} // namespace charts
