// The Qt widgets behind the almanac's control interfaces.
#pragma once

#include "almanac/Controls.h"
#include "store/TextArena.h"

#include <QAbstractItemView>
#include <QAbstractListModel>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

// The entries of a list box, kept as UTF-8 text side by side in large blocks: a million stored
// names cost little beyond their text, adding one never copies the others, and a view asks only for
// the rows it draws. Entries appended one by one are made known to the views together, when publish()
// runs; the list box adaptor publishes before it reads, and a queued call publishes what a handler
// appended once the handler is done.
class EntryModel final : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // Every entry, published or not.
    int count() const { return static_cast<int>(m_entries.size()); }
    std::string_view entry(int row) const;
    // The first row whose text is exactly `text`, or -1.
    int find(std::string_view text) const;

    void append(std::string_view text);
    void publish();
    void clear();

private:
    store::TextArena m_text;
    std::deque<std::string_view> m_entries; // into m_text; grows without moving what it holds
    int m_published = 0;
    bool m_publishQueued = false;
};

// A single-selection list box that, like the selectors it stands for, has no current entry until one
// is chosen: Qt would otherwise make the first row current when the list gets the focus, and an arrow
// key would then skip it.
//
// Every row has the same height and the list scrolls a whole row at a time, so the view finds any row
// by arithmetic: showing, scrolling or clicking a list of a million names costs what it costs for
// twelve, where a general list view would first lay out every row.
class SelectorList : public QAbstractItemView {
    Q_OBJECT
public:
    explicit SelectorList(QWidget* parent);

    EntryModel& entries() const { return *m_entries; }
    int listIndex() const;
    // The entry's text as the list shows it; empty for none.
    QString entryText(int row) const;
    void addItem(std::string_view text) { m_entries->append(text); }

    QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;

signals:
    // The selection moved to an entry: a click, an arrow key, or the program's own choice.
    void entrySelected();

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override { return 0; }
    int verticalOffset() const override { return firstShownRow() * rowHeight(); }
    bool isIndexHidden(const QModelIndex&) const override { return false; }
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    int rowHeight() const;
    int firstShownRow() const { return verticalScrollBar()->value(); }
    int shownRows() const;
    // The row drawn at height `y` of the viewport, or -1 for none.
    int rowAtY(int y) const;

    EntryModel* m_entries;
    mutable int m_rowHeight = 0; // 0 until measured; measured again when the font or style changes
};

class QtListBox final : public almanac::ListBox {
public:
    explicit QtListBox(SelectorList* list)
        : m_list(list) {}
    SelectorList* widget() const { return m_list; }

    int listIndex() const override { return m_list->listIndex(); }
    void setListIndex(int index) override;
    std::string text() const override;
    void setText(std::string_view text) override;
    int listCount() const override { return m_list->entries().count(); }
    void addItem(std::string_view text) override { m_list->addItem(text); }
    void clear() override { m_list->entries().clear(); }
    bool isVisible() const override { return !m_list->isHidden(); }
    void setVisible(bool visible) override { m_list->setVisible(visible); }

private:
    SelectorList* m_list;
};

class QtLabel final : public almanac::Label {
public:
    explicit QtLabel(QLabel* label)
        : m_label(label) {}
    QLabel* widget() const { return m_label; }

    std::string caption() const override { return m_label->text().toStdString(); }
    void setCaption(std::string_view caption) override;
    bool isVisible() const override { return !m_label->isHidden(); }
    void setVisible(bool visible) override { m_label->setVisible(visible); }

private:
    QLabel* m_label;
};

class QtTextBox final : public almanac::TextBox {
public:
    explicit QtTextBox(QLineEdit* edit)
        : m_edit(edit) {}
    QLineEdit* widget() const { return m_edit; }

    std::string text() const override { return m_edit->text().toStdString(); }
    void setText(std::string_view text) override;
    void setEnabled(bool enabled) override { m_edit->setEnabled(enabled); }
    void setFocus() override { m_edit->setFocus(Qt::OtherFocusReason); }

private:
    QLineEdit* m_edit;
};
