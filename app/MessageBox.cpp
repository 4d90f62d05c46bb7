#include "app/MessageBox.h"

#include <QAbstractButton>
#include <QIcon>

namespace MessageBox {

namespace {
Recorder* g_recorder = nullptr;
}

QMessageBox::StandardButton show(QWidget* parent, const QString& caption, const QString& text,
                                 QMessageBox::Icon icon, QMessageBox::StandardButtons buttons) {
    if (g_recorder) {
        const Shown shown{caption, text, icon, buttons};
        g_recorder->m_shown.append(shown);
        if (g_recorder->m_answer)
            return g_recorder->m_answer(shown);
        return QMessageBox::StandardButton(int(buttons) & -int(buttons)); // the first button given
    }
    QMessageBox box(icon, caption, text, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    // Some styles put icons on dialog buttons; these boxes carry text alone.
    for (QAbstractButton* button : box.buttons())
        button->setIcon(QIcon());
    return QMessageBox::StandardButton(box.exec());
}

Recorder::Recorder(Answer answer)
    : m_answer(std::move(answer))
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
