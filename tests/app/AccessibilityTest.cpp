// What a screen reader learns of the window's lists through Qt's accessibility interface: a list, with
// its entries and its selection.
#include "app/Lists.h"
#include "app/MessageBox.h"
#include "app/Module1.h"
#include "app/Tithi_Vel.h"
#include "support/TempDir.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

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

} // namespace
