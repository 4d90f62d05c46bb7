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

namespace Module1 {

namespace {

std::unique_ptr<form::Database> g_database;
QPointer<Tithi_Vel> g_mainWindow;

// Opens the file and shows the loaded window; false when another program keeps the file busy.
bool start() {
    g_database = std::make_unique<form::Database>();
    store::Connection& con = g_database->con;
    try {
        con.setConnectionString(form::kConnectionString);
        con.open();
        auto window = std::make_unique<Tithi_Vel>(*g_database);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->Show();
        g_mainWindow = window.release();
        return true;
    } catch (const store::Error& e) {
        if (e.code() != store::Errc::FileBusy)
            throw;
        return false;
    }
}

} // namespace

form::Database& database() {
    return *g_database;
}

Tithi_Vel* mainWindow() {
    return g_mainWindow.data();
}

void Main() {
    QCoreApplication::setApplicationName(velmorant::kProductName);
    QCoreApplication::setApplicationVersion(velmorant::kProductVersion);
    form::guarded(app::shell(), [] {
        while (!start()) {
            const QString text =
                QStringLiteral("The file %1 is in use by another program, so Velmorant cannot "
                               "read it yet. Try again once the other program is done.")
                    .arg(QString::fromStdString(g_database->con.path().string()));
            if (MessageBox::show(nullptr, QString::fromUtf8(velmorant::kProductName), text,
                                 QMessageBox::Warning,
                                 QMessageBox::Retry | QMessageBox::Cancel) != QMessageBox::Retry) {
                app::shell().endProgram(form::kFailureExitStatus);
                return;
            }
        }
    });
}

} // namespace Module1
