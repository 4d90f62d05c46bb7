#include "app/ChartView.h"

#include "app/ChartDrawing.h"
#include "form/ChartLayout.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QToolTip>

ChartView::ChartView(QWidget* parent)
    : QWidget(parent) {
    setObjectName("chart");
    // Reached by Tab, so that a screen reader says what it shows.
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumSize(200, 225);
    describe();
}

void ChartView::showPicture(const form::ChartPicture& picture) {
    m_picture = picture;
    m_drawn = {};
    describe();
    update();
}

void ChartView::setChartStyle(form::ChartStyle style) {
    if (style == m_style)
        return;
    m_style = style;
    m_drawn = {};
    describe();
    update();
}

void ChartView::setSource(const QString& source) {
    m_source = source;
    describe();
}

void ChartView::describe() {
    const QString name = m_style == form::ChartStyle::Wheel
                             ? QString("Chart wheel")
                             : QString::fromUtf8(form::chartStyleLabel(m_style).data()) + " chart";
    setAccessibleName(m_source.isEmpty() ? name : name + ", " + m_source);
    setAccessibleDescription(m_picture ? QString::fromStdString(form::chartDescription(*m_picture, m_style))
                                       : QString("Empty until Calculate."));
}

QRectF ChartView::drawingArea() const {
    return QRectF(rect()).adjusted(4, 4, -4, -4);
}

void ChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_picture) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, "The chart is drawn by Calculate.");
    } else {
        const qreal ratio = devicePixelRatioF();
        if (m_drawn.size() != size() * ratio) {
            m_drawn = QPixmap(size() * ratio);
            m_drawn.setDevicePixelRatio(ratio);
            m_drawn.fill(palette().color(QPalette::Window)); // opaque: copied without blending
            QPainter drawn(&m_drawn);
            QFont face("Liberation Sans");
            face.setStyleHint(QFont::SansSerif);
            drawn.setFont(face);
            paintChart(drawn, drawingArea(), *m_picture, m_style);
        }
        painter.drawPixmap(0, 0, m_drawn);
    }
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

bool ChartView::event(QEvent* event) {
    // On the wheel, the nakshatra under the pointer by its full name, which the ring can only abbreviate
    // (or, small, leave out).
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const std::optional<int> nakshatra = m_picture && m_style == form::ChartStyle::Wheel
                                                 ? wheelNakshatraAt(drawingArea(), help->pos())
                                                 : std::nullopt;
        if (nakshatra)
            QToolTip::showText(help->globalPos(), QString::fromUtf8(form::nakshatraName(*nakshatra).data()),
                               this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}
