#include "form/Guard.h"

#include "store/Error.h"

#include <new>
#include <stdexcept>

namespace form {

namespace {

// Numbers for errors that do not come from the store.
constexpr int kOutOfMemory = 7;
constexpr int kInternalError = 51;

} // namespace

std::pair<int, std::string> currentError() {
    try {
        throw;
    } catch (const store::Error& e) {
        return {e.number(), e.what()};
    } catch (const std::bad_alloc&) {
        return {kOutOfMemory, "Out of memory."};
    } catch (const std::exception& e) {
        return {kInternalError, std::string("Internal error: ") + e.what()};
    } catch (...) {
        return {kInternalError, "Internal error of an unknown kind."};
    }
}

void reportAndEnd(Shell& shell) {
    try {
        const auto [number, text] = currentError();
        shell.showRunTimeError(number, text);
    } catch (const ProgramEnded&) {
        throw;
    } catch (...) {
        // Not even the box could be shown; the program still ends with the failure status.
    }
    shell.endProgram(kFailureExitStatus);
}

} // namespace form
