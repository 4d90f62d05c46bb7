// The real program with a scripted user, for tests that need its true exit status. Starts the program
// in the current folder; every message box is written to standard output (caption, a tab, the text
// with line breaks as "\n") and answered with OK instead of being shown. Then, as asked:
//   velmorant_probe               start only
//   velmorant_probe calculate     fill in a chart and press "Calculate"
//   velmorant_probe save          fill in a chart named "Probe" and press "Save"
//   velmorant_probe recall        choose each stored name in turn, printing "recalled<tab>" and the name
// and end normally. An error ends the program through its own run-time error box.
#include "app/Lists.h"
#include "app/MessageBox.h"
#include "app/Module1.h"
#include "app/Tithi_Vel.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void print(const QString& line) {
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void choose(Tithi_Vel& window, const QString& list, int entry) {
    window.findChild<SelectorView*>(list)->selectFromProgram(entry);
}

// A chart whose outside karana is the last one, so that a short karana table shows at "Calculate".
void fillChart(Tithi_Vel& window) {
    window.findChild<QLineEdit*>("txtname")->setText("Probe");
    constexpr std::array<std::array<int, 3>, 4> kRows{{{1, 0, 0}, {12, 29, 59}, {1, 0, 0}, {1, 0, 0}}};
    for (int row = 0; row < 4; ++row) {
        const auto& [sign, degree, minute] = kRows[static_cast<std::size_t>(row)];
        choose(window, QString("lstsign(%1)").arg(row), sign);
        choose(window, QString("lstdeg(%1)").arg(row), degree + 1);
        choose(window, QString("lstmin(%1)").arg(row), minute + 1);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    // The window's remembered settings go beside the database in the probe's own folder.
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QDir::currentPath() + "/config");
    MessageBox::Recorder boxes([](const MessageBox::Shown& shown) {
        print(shown.caption + '\t' + QString(shown.text).replace('\n', QLatin1String("\\n")));
        return QMessageBox::Ok;
    });

    Module1::Main();
    QApplication::processEvents();
    Tithi_Vel* window = Module1::mainWindow();
    const char* action = argc > 1 ? argv[1] : "";
    if (window && std::strcmp(action, "calculate") == 0) {
        fillChart(*window);
        window->findChild<QPushButton*>("cmd_calc")->click();
    } else if (window && std::strcmp(action, "save") == 0) {
        fillChart(*window);
        window->findChild<QPushButton*>("cmd_save")->click();
    } else if (window && std::strcmp(action, "recall") == 0) {
        auto* names = window->findChild<SelectorView*>("lstname");
        for (int entry = 0; entry < names->model()->rowCount(); ++entry) {
            choose(*window, "lstname", entry);
            window->lstname_Click();
            print("recalled\t" + window->findChild<QLineEdit*>("txtname")->text());
        }
    }
    QApplication::processEvents();
    delete Module1::mainWindow();
    return 0;
}
