#include "app/QtControls.h"

#include <QItemSelectionModel>

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
    : QListView(parent)
    , m_entries(new EntryModel(this)) {
    setModel(m_entries);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
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

void SelectorList::focusInEvent(QFocusEvent* event) {
    QListView::focusInEvent(event);
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
