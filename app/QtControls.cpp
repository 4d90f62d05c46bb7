#include "app/QtControls.h"

#include <QEvent>
#include <QItemSelectionModel>
#include <QPainter>

#include <algorithm>

namespace {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

int EntryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_published;
}

QVariant EntryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_published)
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return fromUtf8(entry(index.row()));
    return {};
}

std::string_view EntryModel::entry(int row) const {
    return m_entries[static_cast<std::size_t>(row)];
}

int EntryModel::find(std::string_view text) const {
    for (int row = 0; row < count(); ++row)
        if (entry(row) == text)
            return row;
    return -1;
}

void EntryModel::append(std::string_view text) {
    m_entries.push_back(m_text.keep(text));
    if (!m_publishQueued) {
        m_publishQueued = true;
        QMetaObject::invokeMethod(this, &EntryModel::publish, Qt::QueuedConnection);
    }
}

void EntryModel::publish() {
    m_publishQueued = false;
    if (m_published == count())
        return;
    beginInsertRows({}, m_published, count() - 1);
    m_published = count();
    endInsertRows();
}

void EntryModel::clear() {
    beginResetModel();
    m_entries.clear();
    m_text.clear();
    m_published = 0;
    endResetModel();
}

SelectorList::SelectorList(QWidget* parent)
    : QAbstractItemView(parent)
    , m_entries(new EntryModel(this)) {
    setModel(m_entries);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextElideMode(Qt::ElideRight);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (listIndex() >= 0)
            emit entrySelected();
    });
}

int SelectorList::listIndex() const {
    const QModelIndexList selected = selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}

QString SelectorList::entryText(int row) const {
    return row < 0 || row >= m_entries->count() ? QString() : fromUtf8(m_entries->entry(row));
}

int SelectorList::rowHeight() const {
    if (m_rowHeight > 0)
        return m_rowHeight;
    // As the delegate sizes the first entry; every entry is one line in the list's font.
    const QModelIndex first = m_entries->index(0);
    if (!first.isValid())
        return fontMetrics().height();
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    m_rowHeight = std::max(1, itemDelegate()->sizeHint(option, first).height());
    return m_rowHeight;
}

int SelectorList::shownRows() const {
    return std::max(1, viewport()->height() / rowHeight());
}

int SelectorList::rowAtY(int y) const {
    if (y < 0)
        return -1;
    const long row = static_cast<long>(firstShownRow()) + y / rowHeight();
    return row < m_entries->rowCount() ? static_cast<int>(row) : -1;
}

QRect SelectorList::visualRect(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != m_entries)
        return {};
    return {0, (index.row() - firstShownRow()) * rowHeight(), viewport()->width(), rowHeight()};
}

void SelectorList::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (!index.isValid())
        return;
    const int row = index.row();
    const int first = firstShownRow();
    const int shown = shownRows();
    int top = first;
    switch (hint) {
    case EnsureVisible:
        if (row < first)
            top = row;
        else if (row >= first + shown)
            top = row - shown + 1;
        break;
    case PositionAtTop:
        top = row;
        break;
    case PositionAtBottom:
        top = row - shown + 1;
        break;
    case PositionAtCenter:
        top = row - shown / 2;
        break;
    }
    verticalScrollBar()->setValue(top);
}

QModelIndex SelectorList::indexAt(const QPoint& point) const {
    const int row = rowAtY(point.y());
    return row < 0 ? QModelIndex() : m_entries->index(row);
}

QModelIndex SelectorList::moveCursor(CursorAction action, Qt::KeyboardModifiers) {
    const int rows = m_entries->rowCount();
    if (rows == 0)
        return {};
    const int current = currentIndex().row();
    if (current < 0)
        return m_entries->index(0); // the first move from nothing chosen lands on the first entry
    int row = current;
    switch (action) {
    case MoveUp:
    case MovePrevious:
        row = current - 1;
        break;
    case MoveDown:
    case MoveNext:
        row = current + 1;
        break;
    case MovePageUp:
        row = current - shownRows();
        break;
    case MovePageDown:
        row = current + shownRows();
        break;
    case MoveHome:
        row = 0;
        break;
    case MoveEnd:
        row = rows - 1;
        break;
    case MoveLeft:
    case MoveRight:
        break;
    }
    return m_entries->index(std::clamp(row, 0, rows - 1));
}

void SelectorList::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) {
    const int top = rowAtY(rect.top());
    const int bottom = rowAtY(rect.bottom());
    if (top < 0 && bottom < 0) {
        selectionModel()->select(QItemSelection(), command);
        return;
    }
    const int last = bottom < 0 ? m_entries->rowCount() - 1 : bottom;
    const int first = top < 0 ? last : top;
    selectionModel()->select(
        QItemSelection(m_entries->index(std::min(first, last)), m_entries->index(std::max(first, last))),
        command);
}

QRegion SelectorList::visualRegionForSelection(const QItemSelection& selection) const {
    QRegion region;
    const int first = firstShownRow();
    const int last = first + shownRows();
    for (const QItemSelectionRange& range : selection) {
        const int top = std::max(range.top(), first);
        const int bottom = std::min(range.bottom(), last);
        if (top <= bottom)
            region += visualRect(m_entries->index(top)).united(visualRect(m_entries->index(bottom)));
    }
    return region;
}

void SelectorList::updateGeometries() {
    const int rows = m_entries->rowCount();
    const int shown = shownRows();
    verticalScrollBar()->setRange(0, std::max(0, rows - shown));
    verticalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setPageStep(shown);
    QAbstractItemView::updateGeometries();
}

void SelectorList::scrollContentsBy(int, int) {
    viewport()->update();
}

void SelectorList::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QStyle::State base = option.state;
    const int rows = m_entries->rowCount();
    const int last = std::min(rows - 1, firstShownRow() + shownRows());
    const QModelIndex current = currentIndex();
    for (int row = firstShownRow(); row <= last; ++row) {
        const QModelIndex index = m_entries->index(row);
        option.rect = visualRect(index);
        option.state = base;
        if (selectionModel()->isSelected(index))
            option.state |= QStyle::State_Selected;
        if (index == current && hasFocus())
            option.state |= QStyle::State_HasFocus;
        itemDelegate()->paint(&painter, option, index);
    }
}

void SelectorList::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        m_rowHeight = 0;
    QAbstractItemView::changeEvent(event);
}

void SelectorList::focusInEvent(QFocusEvent* event) {
    QAbstractItemView::focusInEvent(event);
    if (listIndex() < 0)
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

void QtListBox::setListIndex(int index) {
    EntryModel& entries = m_list->entries();
    entries.publish();
    if (index < 0 || index >= entries.count()) {
        m_list->clearSelection();
        m_list->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        return;
    }
    const QModelIndex at = entries.index(index);
    m_list->selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect);
    m_list->scrollTo(at);
}

std::string QtListBox::text() const {
    const int index = m_list->listIndex();
    return index < 0 ? std::string() : std::string(m_list->entries().entry(index));
}

void QtListBox::setText(std::string_view text) {
    setListIndex(m_list->entries().find(text));
}

void QtLabel::setCaption(std::string_view caption) {
    m_label->setText(fromUtf8(caption));
}

void QtTextBox::setText(std::string_view text) {
    m_edit->setText(fromUtf8(text));
}
