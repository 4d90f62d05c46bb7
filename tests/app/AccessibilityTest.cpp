// What a screen reader learns of the window through Qt's accessibility interface: each list with its
// entries and its selection, each result with its caption.
#include "app/Lists.h"
#include "app/MessageBox.h"
#include "app/Module1.h"
#include "app/Tithi_Vel.h"
#include "support/TempDir.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(Accessibility, EveryListIsAListWithItsEntriesAndItsSelection) {
    testing_support::TempDir dir;
    testing_support::makeDatabase(dir / "velmorant.mdb",
                                  "insert into Int_Velmorant (name) values ('Asha'), ('Ravi'), ('Meera')");
    MessageBox::Recorder boxes;
    {
        testing_support::CurrentDir cwd(dir.path());
        Module1::Main();
    }
    Tithi_Vel* window = Module1::mainWindow();
    ASSERT_NE(window, nullptr);

    const struct {
        const char* list;
        const char* name;
        int entries;
        int pick;
        const char* picked;
    } lists[] = {
        {"lstname", "Stored names", 3, 2, "Meera"},      {"lstsign(0)", "Sun sign", 13, 10, "Capricon"},
        {"lstdeg(1)", "Moon degrees", 31, 8, "7"},       {"lstmin(3)", "AmK minutes", 61, 60, "59"},
        {"lstsign(2)", "AK sign", 13, 0, "Select Sign"},
    };
    for (const auto& l : lists) {
        SCOPED_TRACE(l.list);
        auto* view = window->findChild<SelectorView*>(l.list);
        ASSERT_NE(view, nullptr);
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(view);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->role(), QAccessible::List);
        EXPECT_EQ(list->text(QAccessible::Name), l.name);
        ASSERT_EQ(list->childCount(), l.entries);
        EXPECT_EQ(list->child(l.pick)->text(QAccessible::Name), l.picked);
        ASSERT_NE(list->tableInterface(), nullptr);
        EXPECT_EQ(list->tableInterface()->selectedCellCount(), 0);

        view->setFocus();
        for (int i = 0; i <= l.pick; ++i)
            QTest::keyClick(view, Qt::Key_Down);
        ASSERT_EQ(list->tableInterface()->selectedCellCount(), 1);
        EXPECT_EQ(list->tableInterface()->selectedCells().front()->text(QAccessible::Name), l.picked);
        EXPECT_TRUE(list->child(l.pick)->state().selected);
    }
    delete window;
}

// Each result is read with its caption, every result is in the details that Alt+R reaches, and the
// karakas have their full names.
TEST(Accessibility, ResultsAreLabelledByTheirCaptionsAndReachedFromTheKeyboard) {
    testing_support::TempDir dir;
    testing_support::makeDatabase(dir / "velmorant.mdb");
    MessageBox::Recorder boxes;
    {
        testing_support::CurrentDir cwd(dir.path());
        Module1::Main();
    }
    std::unique_ptr<Tithi_Vel> window(Module1::mainWindow());
    ASSERT_NE(window, nullptr);
    QApplication::setActiveWindow(window.get());
    auto* date = window->findChild<QLineEdit*>("Birth date");
    date->setText("1990-05-17");
    window->findChild<QLineEdit*>("Birth time")->setText("14:30");
    window->findChild<QComboBox*>("Time zone")->setCurrentText("Asia/Kolkata");
    window->findChild<QLineEdit*>("txtname")->setText("Asha");
    // An access key presses its button as a click would, a moment later.
    auto* planetsTable = window->findChild<QTableWidget*>("Planets and karakas");
    QTest::keyClick(date, Qt::Key_F, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return planetsTable->rowCount() == 9; }));
    QTest::keyClick(date, Qt::Key_C, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->findChild<QLabel*>("lblyoga(1)")->text().isEmpty(); }));
    ASSERT_TRUE(boxes.shown().isEmpty()) << boxes.texts().join('\n').toStdString();

    const struct {
        const char* value;
        const char* caption;
    } results[] = {{"lblnak(0)", "Nakshatra"},         {"lbltithi(0)", "External Tithi"},
                   {"lblyoga(0)", "External Yoga"},    {"lblkarana(0)", "External Karana"},
                   {"lbltithi(1)", "Internal Tithi"},  {"lblyoga(1)", "Internal Yoga"},
                   {"lblkarana(1)", "Internal Karana"}};
    auto* details = window->findChild<QPlainTextEdit*>("details");
    QTest::keyClick(date, Qt::Key_R, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), details);
    for (const auto& r : results) {
        SCOPED_TRACE(r.value);
        auto* value = window->findChild<QLabel*>(r.value);
        QAccessibleInterface* label = QAccessible::queryAccessibleInterface(value);
        const auto labelledBy = label->relations(QAccessible::Label);
        ASSERT_EQ(labelledBy.size(), 1);
        EXPECT_EQ(labelledBy.front().first->text(QAccessible::Name), r.caption);
        EXPECT_FALSE(value->text().isEmpty());
        EXPECT_TRUE(details->toPlainText().contains(QString("%1: %2").arg(r.caption, value->text())));
    }
    EXPECT_TRUE(details->toPlainText().contains("Internal Nakshatra: "));

    QAccessibleInterface* planets = QAccessible::queryAccessibleInterface(planetsTable);
    ASSERT_NE(planets->tableInterface(), nullptr);
    QStringList roles;
    for (int row = 0; row < planets->tableInterface()->rowCount(); ++row)
        roles.append(planets->tableInterface()->cellAt(row, 4)->text(QAccessible::Name));
    EXPECT_TRUE(roles.contains("Atmakaraka")) << roles.join(", ").toStdString();
    EXPECT_TRUE(roles.contains("Pitrikaraka"));
}

} // namespace
