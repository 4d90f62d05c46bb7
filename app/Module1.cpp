#include "app/Module1.h"

#include "app/Guard.h"
#include "app/Tithi_Vel.h"
#include "store/AlmanacDatabase.h"
#include "velmorant/Version.h"

#include <QCoreApplication>
#include <QPointer>

#include <memory>

namespace Module1 {

namespace {
std::unique_ptr<store::AlmanacDatabase> g_database;
QPointer<Tithi_Vel> g_mainWindow;
} // namespace

store::AlmanacDatabase& database() {
    return *g_database;
}

Tithi_Vel* mainWindow() {
    return g_mainWindow.data();
}

void Main() {
    QCoreApplication::setApplicationName(velmorant::kProductName);
    QCoreApplication::setApplicationVersion(velmorant::kProductVersion);
    Guard::guarded([] {
        g_database = std::make_unique<store::AlmanacDatabase>();
        store::Connection& con = g_database->con;
        con.setConnectionString(store::kConnectionString);
        con.open("", "", "", -1);

        auto window = std::make_unique<Tithi_Vel>(*g_database);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->Show();
        g_mainWindow = window.release();
    });
}

} // namespace Module1
