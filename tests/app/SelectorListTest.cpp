// The list box view on its own: rows found by arithmetic must still be the rows the user sees, clicks
// and steps through.
#include "app/QtControls.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

class SelectorListTest : public testing::Test {
protected:
    // A list `rows` tall on screen, holding entries "entry 0" to "entry <count - 1>".
    void fill(int count, int rows) {
        for (int i = 0; i < count; ++i)
            list->addItem("entry " + std::to_string(i));
        list->entries().publish();
        list->resize(120, rows * rowHeight() + 2 * list->frameWidth());
        list->show();
        QApplication::processEvents();
    }

    int rowHeight() const { return list->fontMetrics().height(); }
    int firstShown() const { return list->verticalScrollBar()->value(); }
    int selected() const { return list->listIndex(); }

    std::unique_ptr<SelectorList> list = std::make_unique<SelectorList>(nullptr);
};

TEST_F(SelectorListTest, KeysStepThroughTheEntriesAndKeepTheChosenOneInView) {
    fill(100'000, 3);
    list->setFocus();
    struct Step {
        Qt::Key key;
        int selected;
    };
    const Step steps[] = {
        {Qt::Key_Down, 0},        {Qt::Key_Down, 1},     {Qt::Key_End, 99'999}, {Qt::Key_Down, 99'999},
        {Qt::Key_PageUp, 99'996}, {Qt::Key_Up, 99'995},  {Qt::Key_Home, 0},     {Qt::Key_Up, 0},
        {Qt::Key_PageDown, 3},    {Qt::Key_PageDown, 6},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message()
                     << "key 0x" << std::hex << step.key << ", to entry " << std::dec << step.selected);
        QTest::keyClick(list.get(), step.key);
        EXPECT_EQ(selected(), step.selected);
        EXPECT_TRUE(list->viewport()->rect().contains(list->visualRect(list->currentIndex())))
            << "the chosen entry is out of view";
        EXPECT_EQ(list->entryText(selected()), QString("entry %1").arg(step.selected));
    }
}

TEST_F(SelectorListTest, AClickChoosesTheRowUnderThePointer) {
    fill(50, 4);
    list->verticalScrollBar()->setValue(20);
    QSignalSpy chosen(list.get(), &SelectorList::entrySelected);
    for (const int shownRow : {2, 0, 3}) {
        SCOPED_TRACE(shownRow);
        const QPoint point(10, shownRow * rowHeight() + rowHeight() / 2);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, point);
        EXPECT_EQ(selected(), 20 + shownRow);
        EXPECT_EQ(list->indexAt(point).row(), 20 + shownRow);
    }
    EXPECT_EQ(chosen.count(), 3);
    // Below the last entry there is nothing to choose.
    list->verticalScrollBar()->setValue(list->verticalScrollBar()->maximum());
    EXPECT_EQ(firstShown(), 46);
    EXPECT_FALSE(list->indexAt(QPoint(10, 4 * rowHeight() + 1)).isValid());
}

TEST_F(SelectorListTest, ScrollingShowsRowsWithoutChoosingOne) {
    fill(10, 1);
    QSignalSpy chosen(list.get(), &SelectorList::entrySelected);
    EXPECT_EQ(list->verticalScrollBar()->maximum(), 9);
    list->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(firstShown(), 1);
    EXPECT_EQ(list->indexAt(QPoint(5, 1)).row(), 1);
    EXPECT_EQ(selected(), -1);
    EXPECT_EQ(chosen.count(), 0);
}

} // namespace
