#include "app/Guard.h"

#include "app/MessageBox.h"
#include "store/Error.h"
#include "velmorant/Version.h"

#include <QApplication>

#include <cstdlib>
#include <new>
#include <stdexcept>

namespace Guard {

namespace {

// Numbers for errors that do not come from the data layer.
constexpr int kOutOfMemory = 7;
constexpr int kInternalError = 51;

void leave(int status) {
    // Nothing is pending: every write was committed when it returned, and the file is consistent.
    std::exit(status);
}

Ending& ending() {
    static Ending current = leave;
    return current;
}

} // namespace

std::pair<int, QString> currentError() {
    try {
        throw;
    } catch (const store::Error& e) {
        return {e.number(), QString::fromUtf8(e.what())};
    } catch (const std::bad_alloc&) {
        return {kOutOfMemory, QStringLiteral("Out of memory.")};
    } catch (const std::exception& e) {
        return {kInternalError, QStringLiteral("Internal error: %1").arg(QString::fromUtf8(e.what()))};
    } catch (...) {
        return {kInternalError, QStringLiteral("Internal error of an unknown kind.")};
    }
}

void reportCurrentError() noexcept {
    try {
        const auto [number, text] = currentError();
        MessageBox::show(QApplication::activeWindow(), QString::fromUtf8(velmorant::kProductName),
                         QStringLiteral("Run-time error '%1':\n\n%2").arg(number).arg(text),
                         QMessageBox::Critical);
    } catch (...) {
        // Not even the box could be shown; the program still ends with the failure status.
    }
    ending()(kFailureExitStatus);
}

Ending setEnding(Ending newEnding) {
    return std::exchange(ending(), std::move(newEnding));
}

} // namespace Guard
