// Runs the window tests on Qt's offscreen platform unless another is asked for, with a watchdog that
// fails a test when a real modal box opens instead of hanging the suite.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);

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
