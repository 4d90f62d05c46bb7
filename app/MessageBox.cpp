#include "app/MessageBox.h"

#include <QAbstractButton>
#include <QIcon>
#include <QInputDialog>

namespace MessageBox {

namespace {
Recorder* g_recorder = nullptr;
}

QMessageBox::StandardButton show(QWidget* parent, const QString& caption, const QString& text,
                                 QMessageBox::Icon icon, QMessageBox::StandardButtons buttons) {
    if (g_recorder) {
        const Shown shown{caption, text, icon, buttons, std::nullopt};
        g_recorder->m_shown.append(shown);
        if (g_recorder->m_answer)
            return g_recorder->m_answer(shown);
        return QMessageBox::StandardButton(int(buttons) & -int(buttons)); // the first button given
    }
    QMessageBox box(icon, caption, text, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    // A question whose Yes cannot be undone (a delete) is answered No by Enter.
    if (buttons.testFlag(QMessageBox::No))
        box.setDefaultButton(QMessageBox::No);
    // Some styles put icons on dialog buttons; these boxes carry text alone.
    for (QAbstractButton* button : box.buttons())
        button->setIcon(QIcon());
    return QMessageBox::StandardButton(box.exec());
}

std::optional<QString> askText(QWidget* parent, const QString& caption, const QString& prompt,
                               const QString& initial) {
    if (g_recorder) {
        const Shown shown{caption, prompt, QMessageBox::Question, QMessageBox::Ok | QMessageBox::Cancel,
                          initial};
        g_recorder->m_shown.append(shown);
        return g_recorder->m_answerText ? g_recorder->m_answerText(shown) : std::optional<QString>(initial);
    }
    QInputDialog dialog(parent);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextValue(initial);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

Recorder::Recorder(Answer answer, TextAnswer answerText)
    : m_answer(std::move(answer))
    , m_answerText(std::move(answerText))
    , m_previous(g_recorder) {
    g_recorder = this;
}

Recorder::~Recorder() {
    g_recorder = m_previous;
}

QStringList Recorder::texts() const {
    QStringList texts;
    for (const Shown& shown : m_shown)
        texts.append(shown.text);
    return texts;
}

} // namespace MessageBox
