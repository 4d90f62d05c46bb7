// The window's lists: Qt's own list view over a model, so that assistive technology sees each as a list
// with its entries and its selection. A selector's model is its fixed entries; the list of stored names
// is a model over the chart index itself, which holds every name once.
#pragma once

#include "form/Controls.h"

#include <QAbstractListModel>
#include <QElapsedTimer>
#include <QListView>
#include <QStringListModel>

#include <memory>

namespace store {
class ChartIndex;
}

// A single-selection list that, like the list boxes it stands for, has no current entry until one is
// chosen (Qt would make the first entry current when the list gets the focus, and an arrow key would
// then skip it), whose selection no gesture clears, and which tells a choice made by the user, a click
// on the entry already selected included, from one made by the program.
class SelectorView : public QListView {
    Q_OBJECT
public:
    SelectorView(QAbstractItemModel* model, QWidget* parent);

    int listIndex() const;
    // Selects `row`, or nothing for a row that is not there, without raising chosen().
    void selectFromProgram(int row);

signals:
    // The user chose an entry: a click, an arrow key, typing its first letters.
    void chosen();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;

private:
    // Tells Qt that "no current entry" is the program's choice, so that the focus does not make the
    // first entry current (and a screen reader does not announce it).
    void startWithoutCurrent();
    void bringIntoView(int row);

    bool m_fromProgram = false;
    QElapsedTimer m_typed; // since the last key typed to find an entry
};

// The names of a chart index, in its order.
class ChartNamesModel final : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    void setNames(std::shared_ptr<const store::ChartIndex> names);

private:
    std::shared_ptr<const store::ChartIndex> m_names;
};

class QtSelector : public form::Selector {
public:
    explicit QtSelector(SelectorView* view)
        : m_view(view) {}
    SelectorView* view() const { return m_view; }

    int listIndex() const override { return m_view->listIndex(); }
    void setListIndex(int index) override { m_view->selectFromProgram(index); }
    std::string text() const override;
    void setText(std::string_view text) override;

private:
    SelectorView* m_view;
};

class QtNameList final : public form::NameList {
public:
    QtNameList(SelectorView* view, ChartNamesModel* model)
        : m_selector(view)
        , m_model(model) {}
    SelectorView* view() const { return m_selector.view(); }

    int listIndex() const override { return m_selector.listIndex(); }
    void setListIndex(int index) override { m_selector.setListIndex(index); }
    std::string text() const override { return m_selector.text(); }
    void setText(std::string_view text) override { m_selector.setText(text); }
    void showNames(std::shared_ptr<const store::ChartIndex> names) override;
    bool isVisible() const override { return !view()->isHidden(); }
    void setVisible(bool visible) override { view()->setVisible(visible); }

private:
    QtSelector m_selector;
    ChartNamesModel* m_model;
};
