// The real main window, offscreen: its controls, start-up, "Calculate", messages, errors and "Exit".
#include "app/Guard.h"
#include "app/MessageBox.h"
#include "app/Module1.h"
#include "app/Tithi_Vel.h"
#include "store/AlmanacDatabase.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class WindowTest : public testing::Test {
protected:
    void SetUp() override {
        previousEnding = Guard::setEnding([this](int status) { endings.push_back(status); });
    }

    void TearDown() override {
        delete Module1::mainWindow();
        Guard::setEnding(previousEnding);
    }

    // Starts the program in the test's folder, on a database made with `sql` run on it.
    Tithi_Vel* start(std::string_view sql = {}) {
        testing_support::makeDatabase(dir / "velmorant.mdb", sql);
        return startWithoutDatabase();
    }

    Tithi_Vel* startWithoutDatabase() {
        testing_support::CurrentDir cwd(dir.path());
        Module1::Main();
        return Module1::mainWindow();
    }

    template <typename T>
    T* control(const char* name) {
        T* found = Module1::mainWindow()->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    QString caption(const char* label) { return control<QLabel>(label)->text(); }

    // Chooses entry `index` of a selector from the keyboard: the first Down picks entry 0.
    void pick(const char* list, int index) {
        auto* widget = control<SelectorList>(list);
        widget->setFocus();
        for (int i = 0; i <= index; ++i)
            QTest::keyClick(widget, Qt::Key_Down);
        ASSERT_EQ(widget->currentIndex().row(), index) << list;
    }

    void pickRow(int row, int sign, int degree, int minute) {
        pick(qPrintable(QString("lstsign(%1)").arg(row)), sign);
        pick(qPrintable(QString("lstdeg(%1)").arg(row)), degree + 1);
        pick(qPrintable(QString("lstmin(%1)").arg(row)), minute + 1);
    }

    void click(const char* button) { QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton); }

    testing_support::TempDir dir;
    MessageBox::Recorder boxes;
    std::vector<int> endings;
    Guard::Ending previousEnding;
};

struct Placed {
    const char* name;
    const char* kind;
    int x, y, width, height; // pixels: twips / 15
};

// A sample from each area of the layout, and every kind of control.
const Placed kPlaces[] = {
    {"Label1", "QLabel", 32, 16, 401, 33},
    {"lblnm(4)", "QLabel", 32, 64, 113, 17},
    {"lstname", "SelectorList", 160, 64, 177, 15},
    {"lblplanet(4)", "QLabel", 48, 96, 97, 17},
    {"txtname", "QLineEdit", 160, 96, 161, 19},
    {"lblplanet(0)", "QLabel", 56, 136, 65, 17},
    {"lstsign(0)", "SelectorList", 160, 136, 81, 17},
    {"lstdeg(1)", "SelectorList", 248, 152, 57, 17},
    {"lstmin(3)", "SelectorList", 312, 184, 49, 17},
    {"cmd_calc", "QPushButton", 48, 232, 97, 17},
    {"cmd_save", "QPushButton", 168, 232, 97, 17},
    {"cmd_exit", "QPushButton", 296, 232, 97, 17},
    {"lbl(1)", "QLabel", 32, 280, 121, 17},
    {"lblnak(0)", "QLabel", 192, 280, 225, 17},
    {"lbltithi(0)", "QLabel", 192, 312, 521, 17},
    {"lblyoga(1)", "QLabel", 192, 472, 537, 17},
    {"lbl(6)", "QLabel", 32, 504, 121, 17},
    {"Label8", "QLabel", 40, 552, 361, 25},
    {"Label10", "QLabel", 112, 576, 241, 33},
};

TEST_F(WindowTest, HasItsFortyTwoControlsWhereTheLayoutPutsThem) {
    Tithi_Vel* window = start();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "Velmorant");
    EXPECT_TRUE(window->isMaximized());
    int controls = 0;
    for (QObject* child : window->children())
        controls += qobject_cast<QWidget*>(child) != nullptr;
    EXPECT_EQ(controls, 42);
    for (const Placed& p : kPlaces) {
        SCOPED_TRACE(p.name);
        auto* widget = control<QWidget>(p.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_TRUE(widget->inherits(p.kind));
        EXPECT_EQ(widget->geometry(), QRect(p.x, p.y, p.width, p.height));
    }
    EXPECT_EQ(caption("Label1"), "Internal and External Velmorant");
    EXPECT_EQ(caption("lblnm(4)"), "Click to open -->");
    EXPECT_EQ(caption("lbl(0)"), "External Tithi");
    EXPECT_EQ(caption("lbl(7)"), "Nakshatra");
    EXPECT_EQ(caption("lblplanet(3)"), "AmK");
}

TEST_F(WindowTest, SelectorsOfferTheirEntriesAndStartWithNoneSelected) {
    start();
    for (int row = 0; row < 4; ++row) {
        const QString index = QString("(%1)").arg(row);
        auto* sign = control<SelectorList>(qPrintable("lstsign" + index));
        auto* degree = control<SelectorList>(qPrintable("lstdeg" + index));
        auto* minute = control<SelectorList>(qPrintable("lstmin" + index));
        EXPECT_EQ(sign->model()->rowCount(), 13);
        EXPECT_EQ(sign->model()->index(0, 0).data().toString(), "Select Sign");
        EXPECT_EQ(sign->model()->index(10, 0).data().toString(), "Capricon");
        EXPECT_EQ(degree->model()->rowCount(), 31);
        EXPECT_EQ(degree->model()->index(8, 0).data().toString(), "7");
        EXPECT_EQ(minute->model()->rowCount(), 61);
        EXPECT_EQ(minute->model()->index(60, 0).data().toString(), "59");
        for (SelectorList* list : {sign, degree, minute}) {
            list->setFocus();
            EXPECT_TRUE(list->selectionModel()->selectedRows().isEmpty()) << list->objectName().toStdString();
            EXPECT_EQ(list->currentIndex().row(), -1) << "the focus makes no entry current";
        }
    }
    EXPECT_EQ(control<SelectorList>("lstsign(1)")->accessibleName(), "Moon sign");
    EXPECT_EQ(control<SelectorList>("lstmin(3)")->accessibleName(), "AmK minutes");
    EXPECT_EQ(control<QLineEdit>("txtname")->accessibleName(), "Name");
    EXPECT_EQ(control<SelectorList>("lstname")->accessibleName(), "Stored names");
}

TEST_F(WindowTest, StartsWithTheNameBoxFocusedWhenNothingIsStored) {
    Tithi_Vel* window = start();
    QApplication::setActiveWindow(window);
    EXPECT_TRUE(control<SelectorList>("lstname")->isHidden());
    EXPECT_TRUE(control<QLabel>("lblnm(4)")->isHidden());
    EXPECT_TRUE(control<QLabel>("lbl(7)")->isHidden());
    EXPECT_TRUE(control<QLabel>("lblnak(1)")->isHidden());
    EXPECT_EQ(QApplication::focusWidget(), control<QLineEdit>("txtname"));
}

TEST_F(WindowTest, StartsWithTheStoredNamesListedAndFocused) {
    Tithi_Vel* window = start("insert into Int_Velmorant (name) values ('B'), ('A'), ('B')");
    QApplication::setActiveWindow(window);
    auto* names = control<SelectorList>("lstname");
    ASSERT_EQ(names->model()->rowCount(), 3);
    EXPECT_EQ(names->model()->index(1, 0).data().toString(), "A");
    EXPECT_FALSE(names->isHidden());
    EXPECT_EQ(QApplication::focusWidget(), names);
    EXPECT_TRUE(names->selectionModel()->selectedRows().isEmpty());
}

TEST_F(WindowTest, CalculatesBothPairsFromKeyboardChoices) {
    start();
    QTest::keyClicks(control<QLineEdit>("txtname"), "Asha");
    pickRow(0, 2, 0, 0);   // Taurus 0 0
    pickRow(1, 3, 24, 30); // Gemini 24 30
    pickRow(2, 2, 0, 0);
    pickRow(3, 3, 24, 30);
    click("cmd_calc");
    EXPECT_TRUE(boxes.shown().isEmpty());
    EXPECT_EQ(caption("lbltithi(0)"), "Shukla Panchami - 1S 24deg 30mins(24deg 30mins in Vrishabha)");
    EXPECT_EQ(caption("lblnak(0)"), "Punarvasu");
    EXPECT_EQ(caption("lblyoga(0)"), "Shula (Jupiter) Deity - Sarpa");
    EXPECT_EQ(caption("lblkarana(0)"), "Balava");
    EXPECT_EQ(caption("lbltithi(1)"), caption("lbltithi(0)"));
    EXPECT_EQ(caption("lblnak(1)"), "Punarvasu") << "written, though hidden";
    EXPECT_TRUE(control<QLabel>("lblnak(1)")->isHidden());
}

TEST_F(WindowTest, ChecksSpeakThroughAPlainBoxCaptionedWithTheProgramName) {
    Tithi_Vel* window = start();
    QApplication::setActiveWindow(window);
    control<SelectorList>("lstsign(0)")->setFocus();
    click("cmd_calc");
    ASSERT_EQ(boxes.shown().size(), 1);
    const MessageBox::Shown& shown = boxes.shown().front();
    EXPECT_EQ(shown.caption, "velmorant");
    EXPECT_EQ(shown.text, "Enter ur name");
    EXPECT_EQ(shown.icon, QMessageBox::NoIcon);
    EXPECT_EQ(shown.buttons, QMessageBox::Ok);
    EXPECT_EQ(QApplication::focusWidget(), control<QLineEdit>("txtname"));

    QTest::keyClicks(control<QLineEdit>("txtname"), "Asha");
    click("cmd_calc");
    EXPECT_EQ(boxes.texts().back(), "Enter the sign of Sun");
    EXPECT_TRUE(endings.empty());
}

TEST_F(WindowTest, EnterInTheNameBoxPressesNoButton) {
    start();
    QTest::keyClicks(control<QLineEdit>("txtname"), "Asha");
    QTest::keyClick(control<QLineEdit>("txtname"), Qt::Key_Return);
    QTest::keyClick(control<QLineEdit>("txtname"), Qt::Key_Escape);
    EXPECT_TRUE(boxes.shown().isEmpty());
    EXPECT_NE(Module1::mainWindow(), nullptr);
}

TEST_F(WindowTest, AMissingDatabaseIsReportedBeforeAnyWindowAndEndsTheProgram) {
    EXPECT_EQ(startWithoutDatabase(), nullptr);
    ASSERT_EQ(boxes.shown().size(), 1);
    const MessageBox::Shown& shown = boxes.shown().front();
    EXPECT_EQ(shown.caption, "velmorant");
    EXPECT_TRUE(shown.text.startsWith("Run-time error '3001':")) << shown.text.toStdString();
    EXPECT_TRUE(shown.text.contains(QString::fromStdString((dir / "velmorant.mdb").string())));
    EXPECT_EQ(endings, std::vector<int>{1});
    EXPECT_FALSE(std::filesystem::exists(dir / "velmorant.mdb"));
    for (QWidget* top : QApplication::topLevelWidgets())
        EXPECT_FALSE(top->isVisible()) << top->objectName().toStdString();
}

TEST_F(WindowTest, AMissingTableIsReportedAtLoad) {
    EXPECT_EQ(start("drop table karana"), nullptr);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(boxes.shown().front().text.contains("karana"));
    EXPECT_EQ(endings, std::vector<int>{1});
}

TEST_F(WindowTest, AnErrorInAHandlerShowsTheRunTimeErrorBoxAndEndsTheProgram) {
    start("delete from karana where id > 50");
    QTest::keyClicks(control<QLineEdit>("txtname"), "Asha");
    pickRow(0, 1, 0, 0);
    pickRow(1, 12, 29, 59); // karana 59: past the short table
    pickRow(2, 1, 0, 0);
    pickRow(3, 1, 0, 0);
    click("cmd_calc");
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(boxes.shown().front().text.startsWith("Run-time error '3014':"));
    EXPECT_EQ(endings, std::vector<int>{1});
}

TEST_F(WindowTest, ExitClosesTheRecordsetsAndTheWindow) {
    start();
    click("cmd_exit");
    QApplication::processEvents();
    EXPECT_EQ(Module1::mainWindow(), nullptr) << "the window is gone";
    EXPECT_FALSE(Module1::database().rsrecords.isOpen());
    EXPECT_FALSE(Module1::database().rsrashi.isOpen());
    EXPECT_TRUE(Module1::database().con.isOpen());
    EXPECT_TRUE(endings.empty());
}

TEST_F(WindowTest, SavesAndRecallsWithTheArrowKeys) {
    start("insert into Int_Velmorant (name, sunsign, sundeg, sunmin, monsign, mondeg, monmin, aksign, akdeg, "
          "akmin,"
          " amksign, amkdeg, amkmin) values ('Ravi', 5, '7', '0', 1, '0', '0', 1, '0', '0', 12, '29', '59')");
    QTest::keyClicks(control<QLineEdit>("txtname"), "Meera");
    pickRow(0, 2, 0, 0);
    pickRow(1, 3, 24, 30);
    pickRow(2, 2, 0, 0);
    pickRow(3, 3, 24, 30);
    click("cmd_save");
    EXPECT_EQ(boxes.texts(), QStringList{"Your Record Has Been Saved"});
    auto* names = control<SelectorList>("lstname");
    ASSERT_EQ(names->model()->rowCount(), 2);
    EXPECT_EQ(names->model()->index(1, 0).data().toString(), "Meera");

    names->setFocus();
    QTest::keyClick(names, Qt::Key_Down); // the first entry
    EXPECT_EQ(control<QLineEdit>("txtname")->text(), "Ravi");
    EXPECT_EQ(control<SelectorList>("lstsign(0)")->currentIndex().data().toString(), "Leo");
    EXPECT_EQ(control<SelectorList>("lstdeg(0)")->currentIndex().data().toString(), "7");
    EXPECT_EQ(control<SelectorList>("lstmin(3)")->currentIndex().data().toString(), "59");
    QTest::keyClick(names, Qt::Key_Down);
    EXPECT_EQ(control<QLineEdit>("txtname")->text(), "Meera");
    EXPECT_EQ(control<SelectorList>("lstsign(1)")->currentIndex().data().toString(), "Gemini");

    click("cmd_save");
    EXPECT_EQ(boxes.texts().back(), "This record already exists!");
    click("cmd_calc");
    EXPECT_EQ(caption("lbltithi(0)"), "Shukla Panchami - 1S 24deg 30mins(24deg 30mins in Vrishabha)");
}

} // namespace
