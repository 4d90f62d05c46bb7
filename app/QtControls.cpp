#include "app/QtControls.h"

namespace {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

SelectorList::SelectorList(QWidget* parent)
    : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setSortingEnabled(false);
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (listIndex() >= 0)
            emit entrySelected();
    });
}

int SelectorList::listIndex() const {
    const QList<QListWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? -1 : row(selected.first());
}

void SelectorList::focusInEvent(QFocusEvent* event) {
    QListWidget::focusInEvent(event);
    if (listIndex() < 0)
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

void QtListBox::setListIndex(int index) {
    if (index < 0 || index >= m_list->count()) {
        m_list->clearSelection();
        m_list->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        return;
    }
    m_list->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    m_list->scrollToItem(m_list->item(index));
}

std::string QtListBox::text() const {
    const int index = m_list->listIndex();
    return index < 0 ? std::string() : m_list->item(index)->text().toStdString();
}

void QtListBox::setText(std::string_view text) {
    const QString wanted = fromUtf8(text);
    for (int row = 0; row < m_list->count(); ++row) {
        if (m_list->item(row)->text() == wanted) {
            setListIndex(row);
            return;
        }
    }
    setListIndex(-1);
}

void QtListBox::addItem(std::string_view text) {
    m_list->addItem(fromUtf8(text));
}

void QtLabel::setCaption(std::string_view caption) {
    m_label->setText(fromUtf8(caption));
}

void QtTextBox::setText(std::string_view text) {
    m_edit->setText(fromUtf8(text));
}
