#include "app/Lists.h"

#include "store/ChartIndex.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionFocusRect>

#include <algorithm>

namespace {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

SelectorView::SelectorView(QAbstractItemModel* model, QWidget* parent)
    : QListView(parent) {
    setModel(model);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextElideMode(Qt::ElideRight);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const int row = listIndex();
        if (row < 0)
            return;
        // A choice made through assistive technology selects without moving the current entry: bring
        // it along while the list has the focus (without it, the focus would be announced on an entry
        // of a list that does not have it; focusInEvent() brings it along then), and into view.
        const QModelIndex at = this->model()->index(row, 0);
        if (hasFocus() && currentIndex() != at)
            selectionModel()->setCurrentIndex(at, QItemSelectionModel::NoUpdate);
        bringIntoView(row);
        if (!m_fromProgram)
            emit chosen();
    });
    connect(model, &QAbstractItemModel::modelReset, this, &SelectorView::startWithoutCurrent);
    startWithoutCurrent();
}

void SelectorView::bringIntoView(int row) {
    // The lists scroll a whole entry at a time, so the scroll bar counts entries: no need for Qt's
    // general scrollTo(), which measures the entry first.
    QScrollBar* bar = verticalScrollBar();
    const int shown = std::max(1, bar->pageStep());
    if (row < bar->value())
        bar->setValue(row);
    else if (row >= bar->value() + shown)
        bar->setValue(row - shown + 1);
}

void SelectorView::startWithoutCurrent() {
    QListView::setCurrentIndex(QModelIndex());
}

int SelectorView::listIndex() const {
    // The current entry is kept on the selected one, so that is where to look first.
    const QModelIndex current = selectionModel()->currentIndex();
    if (current.isValid() && selectionModel()->isSelected(current))
        return current.row();
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void SelectorView::selectFromProgram(int row) {
    m_fromProgram = true;
    const QModelIndex at = model()->index(row, 0);
    if (!at.isValid()) {
        clearSelection();
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    } else if (listIndex() != row) {
        // Selecting brings the entry into view (see the constructor). A list without the focus keeps no
        // current entry, so that filling the rows announces nothing; it gets one with the focus.
        if (hasFocus()) {
            selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect);
        } else {
            selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
            selectionModel()->select(at, QItemSelectionModel::ClearAndSelect);
        }
    }
    m_fromProgram = false;
}

void SelectorView::focusInEvent(QFocusEvent* event) {
    QListView::focusInEvent(event);
    // The current entry is the selected one, or none.
    const int row = listIndex();
    const QModelIndex selected = row < 0 ? QModelIndex() : model()->index(row, 0);
    if (currentIndex() != selected)
        selectionModel()->setCurrentIndex(selected, QItemSelectionModel::NoUpdate);
}

void SelectorView::keyPressEvent(QKeyEvent* event) {
    // Space chooses the current entry (with none, the first, as Down does); on the entry already
    // selected it is a choice all the same, as a click is. Typed in the middle of a name it is part of
    // the name looked for.
    const bool typing = m_typed.isValid() && m_typed.elapsed() < QApplication::keyboardInputInterval();
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier && !typing) {
        const int row = currentIndex().isValid() ? currentIndex().row() : 0;
        if (row >= model()->rowCount())
            return;
        if (listIndex() == row)
            emit chosen();
        else
            selectionModel()->setCurrentIndex(model()->index(row, 0), QItemSelectionModel::ClearAndSelect);
        return;
    }
    if (!event->text().isEmpty() && event->text().front().isPrint())
        m_typed.start();
    QListView::keyPressEvent(event);
}

void SelectorView::paintEvent(QPaintEvent* event) {
    QListView::paintEvent(event);
    // With no entry current, Qt draws no focus at all; frame the whole list instead.
    if (hasFocus() && !currentIndex().isValid()) {
        QPainter painter(viewport());
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = viewport()->rect();
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void SelectorView::resizeEvent(QResizeEvent* event) {
    QListView::resizeEvent(event);
    // One entry fills the box, so that no strip of the next one shows under the selected one.
    setGridSize(QSize(viewport()->width(), std::max(viewport()->height(), fontMetrics().height())));
}

void SelectorView::mousePressEvent(QMouseEvent* event) {
    const QModelIndex at = indexAt(event->position().toPoint());
    const bool again = at.isValid() && selectionModel()->isSelected(at);
    QListView::mousePressEvent(event);
    // A click on the entry already selected changes no selection, yet it is a choice all the same.
    if (again && event->button() == Qt::LeftButton)
        emit chosen();
}

QItemSelectionModel::SelectionFlags SelectorView::selectionCommand(const QModelIndex& index,
                                                                   const QEvent* event) const {
    const auto command = QListView::selectionCommand(index, event);
    // Ctrl with a click or with Space would take the selection away; the lists always keep one once made.
    if (command & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))
        return index.isValid() ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::NoUpdate;
    return command;
}

int ChartNamesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !m_names ? 0 : static_cast<int>(m_names->size());
}

QVariant ChartNamesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    return fromUtf8(m_names->name(static_cast<std::size_t>(index.row())));
}

void ChartNamesModel::setNames(std::shared_ptr<const store::ChartIndex> names) {
    beginResetModel();
    m_names = std::move(names);
    endResetModel();
}

std::string QtSelector::text() const {
    const int row = m_view->listIndex();
    return row < 0 ? std::string() : m_view->model()->index(row, 0).data().toString().toStdString();
}

void QtSelector::setText(std::string_view text) {
    const QString wanted = fromUtf8(text);
    if (const auto* entries = qobject_cast<const QStringListModel*>(m_view->model()))
        return setListIndex(static_cast<int>(entries->stringList().indexOf(wanted)));
    const QAbstractItemModel* model = m_view->model();
    for (int row = 0; row < model->rowCount(); ++row)
        if (model->index(row, 0).data().toString() == wanted)
            return setListIndex(row);
    setListIndex(-1);
}

void QtNameList::showNames(std::shared_ptr<const store::ChartIndex> names) {
    m_model->setNames(std::move(names));
}
