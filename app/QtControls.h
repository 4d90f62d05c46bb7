// The Qt widgets behind the almanac's control interfaces.
#pragma once

#include "almanac/Controls.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

// A single-selection list box that, like the selectors it stands for, has no current entry until one
// is chosen: Qt would otherwise make the first row current when the list gets the focus, and an arrow
// key would then skip it.
class SelectorList : public QListWidget {
    Q_OBJECT
public:
    explicit SelectorList(QWidget* parent);

    int listIndex() const;

signals:
    // The selection moved to an entry: a click, an arrow key, or the program's own choice.
    void entrySelected();

protected:
    void focusInEvent(QFocusEvent* event) override;
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
    int listCount() const override { return m_list->count(); }
    void addItem(std::string_view text) override;
    void clear() override { m_list->clear(); }
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
