// Every message box of the program opens through here, so that tests can see what would have been
// shown and answer it without a real modal dialog.
#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace MessageBox {

struct Shown {
    QString caption;
    QString text;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
    std::optional<QString> input; // for a request for text, the text it starts from
};

// Shows a modal box and returns the button that closed it.
QMessageBox::StandardButton show(QWidget* parent, const QString& caption, const QString& text,
                                 QMessageBox::Icon icon = QMessageBox::NoIcon,
                                 QMessageBox::StandardButtons buttons = QMessageBox::Ok);

// A modal request for a line of text, starting from `initial`; none when it is cancelled.
std::optional<QString> askText(QWidget* parent, const QString& caption, const QString& prompt,
                               const QString& initial);

// While a Recorder lives, boxes are not shown: each is handed to `answer`, which runs while the box
// would be open and returns the button that closes it; a request for text is handed to `answerText`,
// which returns the text given, or none for Cancel (by default, the text it starts from).
class Recorder {
public:
    using Answer = std::function<QMessageBox::StandardButton(const Shown&)>;
    using TextAnswer = std::function<std::optional<QString>(const Shown&)>;
    explicit Recorder(Answer answer = {}, TextAnswer answerText = {});
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    const QList<Shown>& shown() const { return m_shown; }
    QStringList texts() const;

private:
    friend QMessageBox::StandardButton show(QWidget*, const QString&, const QString&, QMessageBox::Icon,
                                            QMessageBox::StandardButtons);
    friend std::optional<QString> askText(QWidget*, const QString&, const QString&, const QString&);
    Answer m_answer;
    TextAnswer m_answerText;
    QList<Shown> m_shown;
    Recorder* m_previous;
};

} // namespace MessageBox
