// A push button that Enter presses as Space does, without being the window's default button.
#pragma once

#include <QPushButton>

class CommandButton final : public QPushButton {
    Q_OBJECT
public:
    CommandButton(const QString& caption, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
