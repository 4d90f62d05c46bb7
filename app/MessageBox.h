// Every message box of the program opens through here, so that tests can see what would have been
// shown and answer it without a real modal dialog.
#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

namespace MessageBox {

struct Shown {
    QString caption;
    QString text;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
};

// Shows a modal box and returns the button that closed it.
QMessageBox::StandardButton show(QWidget* parent, const QString& caption, const QString& text,
                                 QMessageBox::Icon icon = QMessageBox::NoIcon,
                                 QMessageBox::StandardButtons buttons = QMessageBox::Ok);

// While a Recorder lives, boxes are not shown: each is handed to `answer`, which runs while the box
// would be open and returns the button that closes it.
class Recorder {
public:
    using Answer = std::function<QMessageBox::StandardButton(const Shown&)>;
    explicit Recorder(Answer answer = {});
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    const QList<Shown>& shown() const { return m_shown; }
    QStringList texts() const;

private:
    friend QMessageBox::StandardButton show(QWidget*, const QString&, const QString&, QMessageBox::Icon,
                                            QMessageBox::StandardButtons);
    Answer m_answer;
    QList<Shown> m_shown;
    Recorder* m_previous;
};

} // namespace MessageBox
