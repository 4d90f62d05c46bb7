#include "app/Module1.h"

#include "app/MessageBox.h"
#include "app/Shell.h"
#include "app/Tithi_Vel.h"
#include "form/Database.h"
#include "store/Error.h"
#include "velmorant/Version.h"

#include <QCoreApplication>
#include <QPointer>

#include <memory>
#include <optional>

namespace Module1 {

namespace {

std::unique_ptr<form::Database> g_database;
QPointer<Tithi_Vel> g_mainWindow;

// Opens the chart store and shows the loaded window. A busy file, or a server that is busy or cannot
// be reached, gives the words to say so; the caller may try again.
std::optional<QString> start(const std::string& location) {
    g_database = std::make_unique<form::Database>();
    try {
        g_database->con = store::openStore(location);
        auto window = std::make_unique<Tithi_Vel>(*g_database);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->Show();
        g_mainWindow = window.release();
        return std::nullopt;
    } catch (const store::Error& e) {
        switch (e.code()) {
        case store::Errc::FileBusy:
            return QStringLiteral(
                       "%1 Velmorant cannot read it yet. Try again once the other program is done.")
                .arg(QString::fromUtf8(e.what()));
        case store::Errc::ServerBusy:
        case store::Errc::ServerUnreachable:
            return QStringLiteral("%1 Try again once it is back.").arg(QString::fromUtf8(e.what()));
        default:
            throw;
        }
    }
}

} // namespace

form::Database& database() {
    return *g_database;
}

Tithi_Vel* mainWindow() {
    return g_mainWindow.data();
}

void Main(const std::string& location) {
    QCoreApplication::setApplicationName(velmorant::kProductName);
    QCoreApplication::setApplicationVersion(velmorant::kProductVersion);
    form::guarded(app::shell(), [&] {
        while (const std::optional<QString> text = start(location)) {
            if (MessageBox::show(nullptr, QString::fromUtf8(velmorant::kProductName), *text,
                                 QMessageBox::Warning,
                                 QMessageBox::Retry | QMessageBox::Cancel) != QMessageBox::Retry) {
                app::shell().endProgram(form::kFailureExitStatus);
                return;
            }
        }
    });
}

} // namespace Module1
