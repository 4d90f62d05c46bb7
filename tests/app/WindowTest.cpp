// The real main window, offscreen: start-up, keyboard and mouse, the restored size, errors and "Exit".
#include "app/BirthPanel.h"
#include "app/Lists.h"
#include "app/MessageBox.h"
#include "app/Module1.h"
#include "app/Shell.h"
#include "app/Tithi_Vel.h"
#include "form/Database.h"
#include "sky/Time.h"
#include "support/TempDir.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class WindowTest : public testing::Test {
protected:
    void SetUp() override {
        previousEnding = app::setEnding([this](int status) {
            endings.push_back(status);
            throw form::ProgramEnded{status};
        });
    }

    void TearDown() override {
        delete Module1::mainWindow();
        app::setEnding(previousEnding);
    }

    // Starts the program in the test's folder, on a database made with `sql` run on it.
    Tithi_Vel* start(std::string_view sql = {}) {
        testing_support::makeDatabase(dir / "velmorant.mdb", sql);
        return startWithoutDatabase();
    }

    Tithi_Vel* startWithoutDatabase() {
        testing_support::CurrentDir cwd(dir.path());
        Module1::Main();
        if (Tithi_Vel* window = Module1::mainWindow())
            QApplication::setActiveWindow(window);
        return Module1::mainWindow();
    }

    template <typename T>
    T* control(const char* name) {
        T* found = Module1::mainWindow()->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    QString caption(const char* label) { return control<QLabel>(label)->text(); }
    QString chosen(const char* list) {
        auto* view = control<SelectorView>(list);
        return view->listIndex() < 0 ? QString()
                                     : view->model()->index(view->listIndex(), 0).data().toString();
    }

    // Chooses entry `index` of a list from the keyboard: the first Down picks entry 0.
    void pick(const char* list, int index) {
        auto* view = control<SelectorView>(list);
        view->setFocus();
        for (int i = 0; i <= index; ++i)
            QTest::keyClick(view, Qt::Key_Down);
        ASSERT_EQ(view->listIndex(), index) << list;
    }

    void pickRow(int row, int sign, int degree, int minute) {
        pick(qPrintable(QString("lstsign(%1)").arg(row)), sign);
        pick(qPrintable(QString("lstdeg(%1)").arg(row)), degree + 1);
        pick(qPrintable(QString("lstmin(%1)").arg(row)), minute + 1);
    }

    void clickEntry(const char* list, int row, Qt::KeyboardModifiers modifiers = {}) {
        auto* view = control<SelectorView>(list);
        const QRect at = view->visualRect(view->model()->index(row, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers, at.center());
    }

    testing_support::TempDir dir;
    MessageBox::Recorder boxes;
    std::vector<int> endings;
    app::Ending previousEnding;
};

const char* const kStored = "insert into Int_Velmorant (name, sunsign, sundeg, sunmin) values"
                            " ('B', 5, '7', '0'), ('A', 1, '0', '0'), ('B', 12, '29', '59')";

TEST_F(WindowTest, StartsMaximizedWithTheStoredNamesListedAndFocused) {
    Tithi_Vel* window = start(kStored);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "Velmorant");
    EXPECT_TRUE(window->isMaximized());
    auto* names = control<SelectorView>("lstname");
    ASSERT_EQ(names->model()->rowCount(), 3);
    EXPECT_EQ(names->model()->index(1, 0).data().toString(), "A");
    EXPECT_EQ(QApplication::focusWidget(), names);
    EXPECT_EQ(names->listIndex(), -1);
    EXPECT_FALSE(names->currentIndex().isValid()) << "the focus makes no entry current";
    EXPECT_TRUE(control<QLabel>("lbl(7)")->isHidden());
    EXPECT_TRUE(control<QLabel>("lblnak(1)")->isHidden());
}

TEST_F(WindowTest, StartsWithTheNameBoxFocusedWhenNothingIsStored) {
    start();
    EXPECT_TRUE(control<SelectorView>("lstname")->isHidden());
    EXPECT_TRUE(control<QLabel>("lblnm(4)")->isHidden());
    EXPECT_EQ(QApplication::focusWidget(), control<QLineEdit>("txtname"));
}

TEST_F(WindowTest, CalculatesFromTheKeyboardWithEnterOnTheButton) {
    start();
    QTest::keyClicks(control<QLineEdit>("txtname"), "Asha");
    QTest::keyClick(control<QLineEdit>("txtname"), Qt::Key_Return);
    QTest::keyClick(control<QLineEdit>("txtname"), Qt::Key_Escape);
    EXPECT_TRUE(boxes.shown().isEmpty()) << "Enter and Esc in the name box press no button";
    pickRow(0, 2, 0, 0);   // Taurus 0 0
    pickRow(1, 3, 24, 30); // Gemini 24 30
    pickRow(2, 2, 0, 0);
    pickRow(3, 3, 24, 30);
    QTest::keyClick(control<SelectorView>("lstmin(3)"), Qt::Key_Return);
    EXPECT_EQ(caption("lbltithi(0)"), "") << "Enter in a selector presses no button";
    control<QPushButton>("cmd_calc")->setFocus();
    QTest::keyClick(control<QPushButton>("cmd_calc"), Qt::Key_Return);
    EXPECT_TRUE(boxes.shown().isEmpty());
    EXPECT_EQ(caption("lbltithi(0)"), "Shukla Panchami - 1S 24deg 30mins(24deg 30mins in Vrishabha)");
    EXPECT_EQ(caption("lblyoga(0)"), "Shula (Jupiter) Deity - Sarpa");
    EXPECT_EQ(caption("lbltithi(1)"), caption("lbltithi(0)"));
}

TEST_F(WindowTest, ChecksSpeakThroughAPlainBoxCaptionedWithTheProgramName) {
    start();
    QTest::mouseClick(control<QPushButton>("cmd_calc"), Qt::LeftButton);
    ASSERT_EQ(boxes.shown().size(), 1);
    const MessageBox::Shown& shown = boxes.shown().front();
    EXPECT_EQ(shown.caption, "velmorant");
    EXPECT_EQ(shown.text, "Enter ur name");
    EXPECT_EQ(shown.icon, QMessageBox::NoIcon);
    EXPECT_EQ(shown.buttons, QMessageBox::Ok);
    EXPECT_EQ(QApplication::focusWidget(), control<QLineEdit>("txtname"));
}

TEST_F(WindowTest, ClickingTheSelectedNameRecallsItAgainAndNoGestureClearsIt) {
    start(kStored);
    clickEntry("lstname", 0);
    EXPECT_EQ(control<QLineEdit>("txtname")->text(), "B");
    EXPECT_EQ(chosen("lstsign(0)"), "Leo");
    control<QLineEdit>("txtname")->setText("edited");
    control<SelectorView>("lstsign(0)")->selectFromProgram(1);
    clickEntry("lstname", 0);
    EXPECT_EQ(control<QLineEdit>("txtname")->text(), "B") << "one click reloads the chart";
    EXPECT_EQ(chosen("lstsign(0)"), "Leo");

    clickEntry("lstname", 0, Qt::ControlModifier);
    QTest::keyClick(control<SelectorView>("lstname"), Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(control<SelectorView>("lstname")->listIndex(), 0);
    QTest::keyClick(control<SelectorView>("lstname"), Qt::Key_Down);
    EXPECT_EQ(control<QLineEdit>("txtname")->text(), "A") << "the arrow keys recall too";
}

TEST_F(WindowTest, TheNamesMenuRenamesAndTheDeleteKeyDeletes) {
    Tithi_Vel* window = start(kStored);
    clickEntry("lstname", 0);
    MessageBox::Recorder answers({}, [](const MessageBox::Shown&) { return QString("Bee"); });
    std::unique_ptr<QMenu> menu(window->namesMenu());
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 5);
    EXPECT_EQ(actions[0]->text(), "Rename…");
    EXPECT_EQ(actions[1]->text(), "Delete…");
    actions[0]->trigger();
    auto* names = control<SelectorView>("lstname");
    EXPECT_EQ(names->model()->index(0, 0).data().toString(), "Bee");
    EXPECT_EQ(control<QLineEdit>("txtname")->text(), "Bee");

    names->setFocus();
    QTest::keyClick(names, Qt::Key_Delete);
    EXPECT_EQ(answers.texts().back(), "Delete the chart \"Bee\"? It cannot be brought back.");
    ASSERT_EQ(names->model()->rowCount(), 2);
    EXPECT_EQ(names->listIndex(), 0);
    EXPECT_EQ(control<QLineEdit>("txtname")->text(), "A") << "the next chart is selected and recalled";
}

TEST_F(WindowTest, ARenameLeftAsItWasKeepsANameThatIsNotUtf8ByteForByte) {
    Tithi_Vel* window = start("insert into Int_Velmorant (name) values (cast(X'FFFE' as text))");
    clickEntry("lstname", 0);
    MessageBox::Recorder answers; // OK on the text as it was offered
    std::unique_ptr<QMenu> menu(window->namesMenu());
    menu->actions()[0]->trigger();
    EXPECT_EQ(testing_support::queryColumn(dir / "velmorant.mdb", "select hex(name) from Int_Velmorant"),
              std::vector<std::string>{"FFFE"});
}

TEST_F(WindowTest, TabGoesRoundTheWholeWindowAndShiftTabBack) {
    start(kStored);
    QWidget* first = control<SelectorView>("lstname");
    ASSERT_EQ(QApplication::focusWidget(), first);
    QStringList reached;
    for (int press = 0; press < 60 && (reached.isEmpty() || QApplication::focusWidget() != first); ++press) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached.append(QApplication::focusWidget()->objectName());
    }
    ASSERT_EQ(QApplication::focusWidget(), first) << reached.join(' ').toStdString();
    EXPECT_EQ(reached.mid(0, 2), (QStringList{"txtname", "lstsign(0)"}));
    const QStringList birthTab{"Birth date", "Birth time", "Birth place",        "Latitude",
                               "Longitude",  "Time zone",  "Ayanamsa",           "Karaka scheme",
                               "Lunar node", "cmd_fill",   "Planets and karakas"};
    const QStringList afterExit =
        QStringList{"cmd_calc", "cmd_save", "cmd_exit", "qt_tabwidget_tabbar"} + birthTab +
        QStringList{"printChart", "exportChart", "exportCharts", "importCharts", "lstname"};
    EXPECT_EQ(reached.mid(reached.indexOf("cmd_calc")), afterExit);

    QTest::keyClick(first, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "importCharts");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), first);
}

TEST_F(WindowTest, TheWindowsKeysWorkFromTheNameBox) {
    Tithi_Vel* window = start(kStored);
    auto* name = control<QLineEdit>("txtname");
    name->setFocus();
    QTest::keyClicks(name, "Ravi");
    QTest::keyClick(name, Qt::Key_Home);
    QTest::keyClick(name, Qt::Key_E, Qt::ControlModifier);
    QTest::keyClick(name, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(boxes.texts(), QStringList(2, "Press Calculate first: there is no chart to print yet."));
    EXPECT_EQ(name->text(), "Ravi");
    EXPECT_EQ(name->cursorPosition(), 0) << "Ctrl+E is the window's, not the end of the line";

    auto* tabs = window->findChild<QTabWidget*>("freeTabs");
    QTest::keyClick(name, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(tabs->currentIndex(), 1);
    QTest::keyClick(name, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(name, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(tabs->currentIndex(), tabs->count() - 1) << "round from the first tab to the last";

    // Access keys press the buttons, and their captions read as before.
    QTest::keyClick(name, Qt::Key_C, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return boxes.texts().back() == "Enter the sign of Sun"; }));
    EXPECT_EQ(name->text(), "Ravi") << "Alt+C types nothing";
    QAccessibleInterface* calc = QAccessible::queryAccessibleInterface(control<QPushButton>("cmd_calc"));
    EXPECT_EQ(calc->text(QAccessible::Name), "Calculate");

    // Space on the stored names chooses as Down does.
    auto* names = control<SelectorView>("lstname");
    names->setFocus();
    QTest::keyClick(names, Qt::Key_Space);
    EXPECT_EQ(names->listIndex(), 0);
    EXPECT_EQ(name->text(), "B");
}

TEST_F(WindowTest, ResultsOfAnotherChartAreSaidToBeSo) {
    start(kStored);
    clickEntry("lstname", 1); // A: Aries 0 0, the other rows empty
    for (int row = 1; row < 4; ++row)
        pickRow(row, 2, 0, 0);
    QTest::mouseClick(control<QPushButton>("cmd_calc"), Qt::LeftButton);
    auto* stale = control<QLabel>("staleWarning");
    EXPECT_TRUE(stale->isHidden());
    EXPECT_TRUE(caption("resultsSource").startsWith("Calculated for A: Sun Aries 0°00'"))
        << caption("resultsSource").toStdString();

    clickEntry("lstname", 0);
    EXPECT_FALSE(stale->isHidden());
    EXPECT_EQ(stale->text(), "These results are for A's positions; press Calculate for the rows shown");
    clickEntry("lstname", 1);
    for (int row = 1; row < 4; ++row)
        pickRow(row, 2, 0, 0);
    EXPECT_TRUE(stale->isHidden()) << "the rows are those calculated again";
    QTest::keyClicks(control<QLineEdit>("txtname"), "sha");
    EXPECT_EQ(stale->text(), "These results were calculated under the name A; press Calculate to print them "
                             "under the name shown");
}

TEST_F(WindowTest, RemembersTheBirthChoicesTheTabAndTheSizeButNotADamagedFile) {
    Tithi_Vel* window = start();
    auto* zone = window->findChild<QComboBox*>("Time zone");
    zone->lineEdit()->selectAll();
    QTest::keyClicks(zone->lineEdit(), "Asia/Kolkata");
    QTest::keyClick(zone->lineEdit(), Qt::Key_Return);
    auto* node = window->findChild<QComboBox*>("Lunar node");
    node->setFocus();
    QTest::keyClick(node, Qt::Key_Down);
    window->findChild<QTabWidget*>("freeTabs")->setCurrentIndex(2);
    window->showNormal();
    window->setGeometry(40, 50, 1200, 800);
    QTest::mouseClick(control<QPushButton>("cmd_exit"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    window = startWithoutDatabase();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->findChild<QComboBox*>("Time zone")->currentText(), "Asia/Kolkata");
    EXPECT_EQ(window->findChild<QComboBox*>("Lunar node")->currentIndex(), 1);
    EXPECT_EQ(window->findChild<QTabWidget*>("freeTabs")->currentIndex(), 2);
    EXPECT_FALSE(window->isMaximized());
    EXPECT_EQ(window->size(), QSize(1200, 800));
    delete window;

    const QString file =
        QSettings(QSettings::IniFormat, QSettings::UserScope, "velmorant", "velmorant").fileName();
    QFile damaged(file);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write("\xff[birth\nzone=Nowhere/Atlantis\n[window]\ngeometry=@ByteArray(garbage)\ntab=x\n");
    damaged.close();
    window = startWithoutDatabase();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(boxes.shown().isEmpty());
    EXPECT_EQ(window->findChild<QComboBox*>("Time zone")->currentText().toStdString(), sky::systemZoneName());
    EXPECT_EQ(window->findChild<QTabWidget*>("freeTabs")->currentIndex(), 0);
    EXPECT_TRUE(window->isMaximized());
}

TEST_F(WindowTest, APickedCityFillsItsCoordinatesAndItsZoneForThisChartOnly) {
    Tithi_Vel* window = start();
    const QString startingZone = control<QComboBox>("Time zone")->currentText();
    auto* place = control<QLineEdit>("Birth place");
    QAccessibleInterface* readPlace = QAccessible::queryAccessibleInterface(place);
    EXPECT_EQ(readPlace->text(QAccessible::Name), "Birth place");
    EXPECT_TRUE(readPlace->text(QAccessible::Description).contains("city names"));

    place->setFocus();
    QTest::keyClicks(place, "Chenn");
    // The cities are read on a worker thread; the list opens once they are in.
    QAbstractItemView* cities =
        window->findChild<BirthPanel*>("birthPanel")->findChild<QCompleter*>()->popup();
    ASSERT_TRUE(QTest::qWaitFor([&] { return cities->isVisible(); }, 20'000));
    EXPECT_EQ(cities->model()->index(0, 0).data().toString(), "Chennai, Tamil Nadu, India");
    QTest::keyClick(cities, Qt::Key_Down);
    QTest::keyClick(cities, Qt::Key_Return);
    EXPECT_FALSE(cities->isVisible());
    EXPECT_EQ(place->text(), "Chennai, Tamil Nadu, India");
    EXPECT_EQ(control<QLineEdit>("Latitude")->text(), "13.0878 N");
    EXPECT_EQ(control<QLineEdit>("Longitude")->text(), "80.2785 E");
    EXPECT_EQ(control<QComboBox>("Time zone")->currentText(), "Asia/Kolkata");

    // The fields go into the birth data trimmed.
    QTest::keyClicks(place, " ");
    EXPECT_EQ(control<QLineEdit>("Latitude")->text(), "13.0878 N");
    const store::BirthData birth = window->findChild<BirthPanel*>("birthPanel")->birthData();
    EXPECT_EQ(birth.place, "Chennai, Tamil Nadu, India");
    EXPECT_EQ(birth.latitude, "13.0878 N");
    EXPECT_EQ(birth.longitude, "80.2785 E");
    // Another name typed over the picked city takes its coordinates away, which would be Chennai's.
    place->selectAll();
    QTest::keyClicks(place, "Mumbai");
    cities->hide();
    EXPECT_EQ(control<QLineEdit>("Latitude")->text(), "");
    EXPECT_EQ(control<QLineEdit>("Longitude")->text(), "");

    // The city's zone was this chart's, not a choice to remember.
    QTest::mouseClick(control<QPushButton>("cmd_exit"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_NE(startWithoutDatabase(), nullptr);
    EXPECT_EQ(control<QComboBox>("Time zone")->currentText(), startingZone);
}

TEST_F(WindowTest, TheRestoredWindowShowsEveryControl) {
    Tithi_Vel* window = start(kStored);
    window->showNormal();
    QApplication::processEvents();
    const QRect inside = window->rect();
    for (QWidget* child : window->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        EXPECT_TRUE(inside.contains(child->geometry())) << child->objectName().toStdString();
}

TEST_F(WindowTest, AMissingDatabaseIsReportedBeforeAnyWindowAndEndsTheProgram) {
    EXPECT_EQ(startWithoutDatabase(), nullptr);
    ASSERT_EQ(boxes.shown().size(), 1);
    const MessageBox::Shown& shown = boxes.shown().front();
    EXPECT_EQ(shown.caption, "velmorant");
    EXPECT_TRUE(shown.text.startsWith("Run-time error '3001':")) << shown.text.toStdString();
    EXPECT_TRUE(shown.text.contains("velmorant-initdb")) << "says how to make one";
    EXPECT_EQ(endings, std::vector<int>{1});
    EXPECT_FALSE(std::filesystem::exists(dir / "velmorant.mdb"));
}

TEST_F(WindowTest, ExitClosesTheRecordsetsAndTheWindow) {
    start();
    QTest::mouseClick(control<QPushButton>("cmd_exit"), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(Module1::mainWindow(), nullptr);
    EXPECT_FALSE(Module1::database().rsrecords.isOpen());
    EXPECT_FALSE(Module1::database().rsrashi.isOpen());
    EXPECT_TRUE(Module1::database().con);
    EXPECT_TRUE(endings.empty());
}

} // namespace
