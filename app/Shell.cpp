#include "app/Shell.h"

#include "app/MessageBox.h"
#include "velmorant/Version.h"

#include <QApplication>

#include <cstdlib>

namespace app {

namespace {

void leave(int status) {
    // Nothing is pending: every write was committed when it returned, and the file is consistent.
    std::exit(status);
}

Ending& ending() {
    static Ending current = leave;
    return current;
}

class QtShell final : public form::Shell {
public:
    void showRunTimeError(int number, const std::string& text) override {
        MessageBox::show(
            QApplication::activeWindow(), QString::fromUtf8(velmorant::kProductName),
            QStringLiteral("Run-time error '%1':\n\n%2").arg(number).arg(QString::fromStdString(text)),
            QMessageBox::Critical);
    }
    void endProgram(int status) override { ending()(status); }
};

} // namespace

form::Shell& shell() {
    static QtShell instance;
    return instance;
}

Ending setEnding(Ending newEnding) {
    return std::exchange(ending(), std::move(newEnding));
}

} // namespace app
