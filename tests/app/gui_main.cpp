// Runs the window tests on Qt's offscreen platform unless another is asked for, with a watchdog that
// fails a test when a real modal box opens instead of hanging the suite.
#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Each test starts with nothing remembered, whatever the tests before it left.
class ForgetSettings : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override {
        QSettings(QSettings::IniFormat, QSettings::UserScope, "velmorant", "velmorant").clear();
    }
};

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    // The window's remembered settings go to a folder of the run's own, never the user's.
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    testing::UnitTest::GetInstance()->listeners().Append(new ForgetSettings);

    // Timers only run while some event loop does, which in these tests means a real modal box.
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "a real modal box opened: " << modal->windowTitle().toStdString();
            modal->close();
        }
    });
    watchdog.start(200);
    return RUN_ALL_TESTS();
}
