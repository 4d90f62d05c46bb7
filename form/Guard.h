// One way for every unhandled error: the run-time error box with the error's number and text, then the
// end of the program. Start-up and every handler run inside guarded(); no exception leaves it.
#pragma once

#include <string>
#include <utility>

namespace form {

inline constexpr int kFailureExitStatus = 1;

// What the guard needs of the running program.
class Shell {
public:
    virtual ~Shell() = default;
    // The run-time error box: "Run-time error '<number>':" and the text.
    virtual void showRunTimeError(int number, const std::string& text) = 0;
    // Ends the program. Does not return; a test's stand-in throws ProgramEnded instead, so that
    // nothing of the failed handler runs after it.
    virtual void endProgram(int status) = 0;
};

// Thrown by a test's stand-in for the end of the program; guarded() lets it end the handler quietly.
struct ProgramEnded {
    int status;
};

// Number and text of the error being handled; call from within a catch block.
std::pair<int, std::string> currentError();

// Shows the run-time error box for the error being handled, then ends the program; call from within a
// catch block. Throws only ProgramEnded.
void reportAndEnd(Shell& shell);

template <typename Handler>
void guarded(Shell& shell, Handler&& handler) noexcept {
    try {
        try {
            std::forward<Handler>(handler)();
        } catch (const ProgramEnded&) {
            throw;
        } catch (...) {
            reportAndEnd(shell);
        }
    } catch (const ProgramEnded&) {
        // The program has ended as far as this handler is concerned.
    }
}

} // namespace form
