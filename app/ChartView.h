// The chart in the window: drawn in the style chosen (South Indian, North Indian or the wheel), as
// vectors, so it stays sharp at any size; read by a screen reader as words.
#pragma once

#include "form/Chart.h"

#include <QPixmap>
#include <QWidget>

#include <optional>

class ChartView final : public QWidget {
    Q_OBJECT
public:
    explicit ChartView(QWidget* parent);

    void showPicture(const form::ChartPicture& picture);
    const std::optional<form::ChartPicture>& picture() const { return m_picture; }
    bool isEmpty() const { return !m_picture; }

    void setChartStyle(form::ChartStyle style);
    form::ChartStyle chartStyle() const { return m_style; }

    // What the chart was calculated from, said after the chart's name to a screen reader.
    void setSource(const QString& source);

    // The chart takes the largest drawing its area leaves, whichever of width or height is the less.
    QSize sizeHint() const override { return {420, 470}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    QRectF drawingArea() const;
    void describe();

    std::optional<form::ChartPicture> m_picture;
    form::ChartStyle m_style = form::ChartStyle::SouthIndian;
    QString m_source;
    // The chart as vectors, drawn once per chart, style and size at the screen's own resolution, so
    // that a repaint of an unchanged chart only copies it.
    QPixmap m_drawn;
};
