// The Qt widgets behind the window logic's labels and name box.
#pragma once

#include "form/Controls.h"

#include <QLabel>
#include <QLineEdit>

class QtLabel final : public form::Label {
public:
    explicit QtLabel(QLabel* label)
        : m_label(label) {}
    QLabel* widget() const { return m_label; }

    std::string caption() const override { return m_label->text().toStdString(); }
    void setCaption(std::string_view caption) override {
        m_label->setText(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
    }
    bool isVisible() const override { return !m_label->isHidden(); }
    void setVisible(bool visible) override { m_label->setVisible(visible); }

private:
    QLabel* m_label;
};

class QtTextBox final : public form::TextBox {
public:
    explicit QtTextBox(QLineEdit* edit)
        : m_edit(edit) {}
    QLineEdit* widget() const { return m_edit; }

    std::string text() const override { return m_edit->text().toStdString(); }
    void setText(std::string_view text) override {
        m_edit->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }
    void setEnabled(bool enabled) override { m_edit->setEnabled(enabled); }
    void setFocus() override { m_edit->setFocus(Qt::OtherFocusReason); }

private:
    QLineEdit* m_edit;
};
