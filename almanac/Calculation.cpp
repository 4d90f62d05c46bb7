#include "almanac/Calculation.h"

#include "almanac/Checks.h"
#include "almanac/Pair.h"

namespace almanac {

void calculate(Form& form, ReferenceTables& tables) {
    if (!checkName(form, kCalculateNameMessage) || !checkBodyRows(form))
        return;
    // Pair 0 is Sun and Moon, pair 1 is AK and AmK; each pair is read, computed and shown before the next.
    for (int pair = 0; pair < 2; ++pair) {
        const int first = rowLongitude(form, 2 * pair);
        const int second = rowLongitude(form, 2 * pair + 1);
        showPair(form, tables, pair, computePair(first, second));
    }
}

} // namespace almanac
