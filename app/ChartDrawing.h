// The chart drawn in any of its three styles (South Indian, North Indian, wheel), on screen, on paper
// and into image files: every text as text and every line as a vector, in the painter's font family.
#pragma once

#include "form/Chart.h"

#include <QByteArray>
#include <QImage>
#include <QPolygonF>
#include <QRectF>
#include <QString>

#include <optional>
#include <vector>

class QPainter;

// A text as drawn: what it says and the outline of its line (or lines), in the painter's coordinates.
struct DrawnLabel {
    QString text;
    QPolygonF outline;
};

// Draws `picture` in `style` within `area`: the largest drawing of the style's shape that fits, centred
// across it, from its top. Where `labels` is given, every text drawn is added to it.
void paintChart(QPainter& painter, const QRectF& area, const form::ChartPicture& picture,
                form::ChartStyle style, std::vector<DrawnLabel>* labels = nullptr);

// The drawing's height for a width of 1: the square, or the square and what goes under it.
double chartAspect(form::ChartStyle style);

// The nakshatra (0 Ashwini .. 26 Revati) under a point of the wheel drawn in `area`, where the point is
// on the ring of nakshatras.
std::optional<int> wheelNakshatraAt(const QRectF& area, const QPointF& at);

// The chart as a picture `width` pixels wide on white, and as an SVG document (its title the chart's
// name and its description the chart in words).
QImage chartImage(const form::ChartPicture& picture, form::ChartStyle style, int width);
QByteArray chartSvg(const form::ChartPicture& picture, form::ChartStyle style);

// Writes the chart to `path` as a PNG or, for a name ending in .svg, an SVG, through a temporary file
// that takes the name only once complete. Returns what went wrong, or nothing.
std::optional<QString> saveChartImage(const form::ChartPicture& picture, form::ChartStyle style,
                                      const QString& path);
