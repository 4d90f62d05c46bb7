// The chart wheel: the sidereal zodiac with the four bodies, each pair's elongation as an arc and each
// pair's yoga point. Drawn as vectors, so it stays sharp at any size, on screen and on paper.
#pragma once

#include "form/Wheel.h"

#include <QPixmap>
#include <QWidget>

#include <optional>

class QPainter;

// Draws `picture` into the largest square that fits `area`, with its legend under it, all as vectors.
void paintWheel(QPainter& painter, const QRectF& area, const form::WheelPicture& picture);

class ChartWheel final : public QWidget {
    Q_OBJECT
public:
    explicit ChartWheel(QWidget* parent);

    void showPicture(const form::WheelPicture& picture);
    bool isEmpty() const { return !m_picture; }

    // The wheel takes the largest square its area leaves, whichever of width or height is the less.
    QSize sizeHint() const override { return {420, 470}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<form::WheelPicture> m_picture;
    // The wheel as vectors, drawn once per chart and size at the screen's own resolution, so that a
    // repaint of an unchanged chart only copies it.
    QPixmap m_drawn;
};
