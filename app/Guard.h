// One way for every unhandled error: the run-time error box with the error's number and text, then
// the end of the program. Start-up and every handler run inside guarded(); no exception ever leaves
// it, so none can escape into Qt.
#pragma once

#include <QString>

#include <functional>
#include <utility>

namespace Guard {

inline constexpr int kFailureExitStatus = 1;

// Number and text of the error being handled; call from within a catch block.
std::pair<int, QString> currentError();

// Shows the run-time error box for the error being handled, then ends the program.
void reportCurrentError() noexcept;

template <typename Handler>
void guarded(Handler&& handler) noexcept {
    try {
        std::forward<Handler>(handler)();
    } catch (...) {
        reportCurrentError();
    }
}

// What ending the program means: by default, leave the process with kFailureExitStatus. Tests put
// a recorder here. Returns the previous one.
using Ending = std::function<void(int status)>;
Ending setEnding(Ending ending);

} // namespace Guard
