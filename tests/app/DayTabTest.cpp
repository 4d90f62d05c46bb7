// The Day tab in the real window, offscreen: a known day at Ujjain from a picked city, the days either
// side, the month's grid read by a screen reader and its days opened, the place remembered, and the
// day and the month exported as one-page PDFs of real text.
#include "app/BirthPanel.h"
#include "app/DayPanel.h"
#include "app/MessageBox.h"
#include "app/Module1.h"
#include "app/Tithi_Vel.h"
#include "support/PdfText.h"
#include "support/TempDir.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace {

using testing_support::pdfText;

class DayTabTest : public testing::Test {
protected:
    void SetUp() override {
        testing_support::makeDatabase(dir / "velmorant.mdb");
        open();
    }
    void TearDown() override { delete window; }

    void open() {
        testing_support::CurrentDir cwd(dir.path());
        Module1::Main();
        window = Module1::mainWindow();
        ASSERT_NE(window, nullptr);
        QApplication::setActiveWindow(window);
    }

    template <typename T>
    T* control(const char* name) {
        T* found = window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    // The Day tab by its key, with Ujjain picked from the cities its first letters offer.
    void openUjjain() {
        QTest::keyClick(window, Qt::Key_A, Qt::AltModifier);
        ASSERT_TRUE(QTest::qWaitFor([&] { return control<QLabel>("dayNote")->isVisible(); }));
        auto* place = control<QLineEdit>("dayPlace");
        place->setFocus();
        QTest::keyClicks(place, "Ujja");
        QAbstractItemView* cities =
            control<DayPanel>("dayPanel")->findChild<PlaceCompletion*>()->completer()->popup();
        ASSERT_TRUE(QTest::qWaitFor([&] { return cities->isVisible(); }, 20'000));
        QTest::keyClick(cities, Qt::Key_Down);
        QTest::keyClick(cities, Qt::Key_Return);
    }

    // The day's table as text, a row a line: "Tithi | Krishna Ashtami | 23:14 +05:30".
    QStringList tableRows() {
        auto* table = control<QTableWidget>("dayTable");
        QStringList rows;
        for (int row = 0; row < table->rowCount(); ++row)
            rows.append(table->item(row, 0)->text() + " | " + table->item(row, 1)->text() + " | " +
                        table->item(row, 2)->text());
        return rows;
    }

    void showDate(const char* date) {
        auto* field = control<QLineEdit>("dayDate");
        field->setText(date);
        QTest::keyClick(field, Qt::Key_Return);
    }

    testing_support::TempDir dir;
    MessageBox::Recorder boxes;
    Tithi_Vel* window = nullptr;
};

TEST_F(DayTabTest, APickedCityShowsItsDayAndTheKeysTurnTheDays) {
    openUjjain();
    EXPECT_EQ(control<QLineEdit>("dayLatitude")->text(), "23.1824 N");
    EXPECT_EQ(control<QComboBox>("dayZone")->currentText(), "Asia/Kolkata");
    EXPECT_FALSE(control<QLineEdit>("dayDate")->text().isEmpty()) << "today, at the place";
    showDate("2026-12-01");
    QStringList rows = tableRows();
    for (const char* row : {"Sunrise | 06:55 +05:30 | ", "Tithi | Krishna Ashtami | 23:14 +05:30",
                            "Tithi | Krishna Navami | 2026-12-02 22:53 +05:30"})
        EXPECT_TRUE(rows.contains(row)) << row << "\n" << rows.join('\n').toStdString();

    QTest::keyClick(control<QLineEdit>("dayDate"), Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(control<QLineEdit>("dayDate")->text(), "2026-12-02");
    EXPECT_TRUE(tableRows().contains("Tithi | Krishna Navami | 22:53 +05:30"));
    QTest::keyClick(control<QTableWidget>("dayTable"), Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(control<QLineEdit>("dayDate")->text(), "2026-12-01");
    EXPECT_TRUE(boxes.shown().isEmpty()) << boxes.texts().join('\n').toStdString();

    // Each cell is read whole, under its column's header; the table is described by its heading.
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(control<QTableWidget>("dayTable"));
    ASSERT_NE(table->tableInterface(), nullptr);
    const int tithi = static_cast<int>(rows.indexOf("Tithi | Krishna Ashtami | 23:14 +05:30"));
    EXPECT_EQ(table->tableInterface()->cellAt(tithi, 1)->text(QAccessible::Name), "Krishna Ashtami");
    EXPECT_EQ(table->tableInterface()->columnDescription(2), "Ends");
    EXPECT_TRUE(table->text(QAccessible::Description)
                    .startsWith("Tuesday 1 December 2026 at Ujjain, Madhya Pradesh"));
    // The fields are read with their captions.
    QAccessibleInterface* date = QAccessible::queryAccessibleInterface(control<QLineEdit>("dayDate"));
    ASSERT_EQ(date->relations(QAccessible::Label).size(), 1);
    EXPECT_EQ(date->relations(QAccessible::Label).front().first->text(QAccessible::Name), "Date");
    EXPECT_EQ(date->text(QAccessible::Value), "2026-12-01");

    // Tab goes through the tab's controls in the order they stand, then on to the buttons under it.
    control<QLineEdit>("dayPlace")->setFocus();
    QStringList reached;
    for (int press = 0; press < 10; ++press) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached.append(QApplication::focusWidget()->objectName());
    }
    EXPECT_EQ(reached, (QStringList{"dayLatitude", "dayLongitude", "dayZone", "dayDate", "previousDay",
                                    "nextDay", "showDay", "monthView", "dayTable", "printChart"}));
}

TEST_F(DayTabTest, TheMonthsGridReadsEachDayWholeAndOpensTheDayChosen) {
    openUjjain();
    showDate("2026-12-08");
    QTest::keyClick(window, Qt::Key_N, Qt::AltModifier);
    auto* grid = control<MonthGrid>("monthGrid");
    ASSERT_TRUE(QTest::qWaitFor([&] { return grid->isVisible(); }));
    EXPECT_EQ(control<QPushButton>("nextDay")->text(), "Next month");
    EXPECT_TRUE(grid->currentItem()->text().startsWith("8\n"));

    // 1 December 2026 is a Tuesday: the 23rd stands in the fourth week's Wednesday.
    QAccessibleInterface* days = QAccessible::queryAccessibleInterface(grid);
    ASSERT_NE(days->tableInterface(), nullptr);
    EXPECT_EQ(days->tableInterface()->columnDescription(3), "Wednesday");
    EXPECT_EQ(days->tableInterface()->cellAt(3, 3)->text(QAccessible::Name),
              "Wednesday 23 December: Shukla Chaturdashi, Purnima skipped");
    EXPECT_EQ(days->tableInterface()->cellAt(0, 0)->text(QAccessible::Name), "");

    // A click opens a day; Enter on a day opens it too.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(3, 3)).center());
    EXPECT_FALSE(grid->isVisible());
    EXPECT_FALSE(control<QPushButton>("monthView")->isChecked());
    EXPECT_EQ(control<QLineEdit>("dayDate")->text(), "2026-12-23");
    EXPECT_TRUE(tableRows().contains("Tithi | Purnima (kshaya: skipped) | 2026-12-24 06:58 +05:30"));

    QTest::keyClick(window, Qt::Key_N, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return grid->isVisible(); }));
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_PageDown);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return control<QLabel>("dayHeading")->text().startsWith("January 2027"); }));
    EXPECT_EQ(control<QLineEdit>("dayDate")->text(), "2027-01-23");
    QTest::keyClick(grid, Qt::Key_Left);
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(control<QLineEdit>("dayDate")->text(), "2027-01-22");
    EXPECT_TRUE(tableRows().contains("Vara | Shukra (Friday) | "));
    EXPECT_TRUE(boxes.shown().isEmpty()) << boxes.texts().join('\n').toStdString();
}

TEST_F(DayTabTest, ThePlaceIsRememberedAndTheTabOpensOnIt) {
    openUjjain();
    ASSERT_TRUE(QTest::qWaitFor([&] { return control<QTableWidget>("dayTable")->isVisible(); }));
    QTest::mouseClick(control<QPushButton>("cmd_exit"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    window = nullptr;

    open();
    EXPECT_EQ(control<QTabWidget>("freeTabs")->currentWidget()->objectName(), "dayScroll");
    EXPECT_EQ(control<QLineEdit>("dayPlace")->text(), "Ujjain, Madhya Pradesh, India");
    EXPECT_EQ(control<QLineEdit>("dayLongitude")->text(), "75.7764 E");
    EXPECT_EQ(control<QComboBox>("dayZone")->currentText(), "Asia/Kolkata");
    EXPECT_TRUE(control<QTableWidget>("dayTable")->isVisible()) << "today's day, at once";
    EXPECT_TRUE(boxes.shown().isEmpty()) << boxes.texts().join('\n').toStdString();
}

TEST_F(DayTabTest, TheDayAndTheMonthExportAsOnePageOfText) {
    QTest::keyClick(window, Qt::Key_A, Qt::AltModifier);
    window->exportChartTo(QString::fromStdString((dir / "early.pdf").string()));
    EXPECT_EQ(boxes.texts(),
              QStringList{"Enter a place on the Day tab first: there is no day to print yet."});
    EXPECT_FALSE(std::filesystem::exists(dir / "early.pdf"));

    openUjjain();
    showDate("2023-01-20");
    const auto day = dir / "day.pdf";
    window->exportChartTo(QString::fromStdString(day.string()));
    const std::string dayText = pdfText(day);
    for (const char* expected :
         {"Panchanga for Friday 20 January 2023", "Ujjain, Madhya Pradesh, India", "Krishna Trayodashi",
          "Krishna Chaturdashi (kshaya: skipped)", "Amavasya", "Sunrise"})
        EXPECT_NE(dayText.find(expected), std::string::npos) << expected << "\n" << dayText;
    EXPECT_EQ(std::count(dayText.begin(), dayText.end(), '\f'), 1) << "one page";

    QTest::keyClick(window, Qt::Key_N, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return control<MonthGrid>("monthGrid")->isVisible(); }));
    const auto month = dir / "month.pdf";
    window->exportChartTo(QString::fromStdString(month.string()));
    const std::string monthText = pdfText(month);
    for (const char* expected : {"Panchanga for January 2023", "Sunday", "Saturday", "skipped"})
        EXPECT_NE(monthText.find(expected), std::string::npos) << expected << "\n" << monthText;
    EXPECT_EQ(std::count(monthText.begin(), monthText.end(), '\f'), 1) << "one page";
    EXPECT_EQ(boxes.texts().size(), 1) << boxes.texts().join('\n').toStdString();
}

} // namespace
