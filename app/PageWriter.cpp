#include "app/PageWriter.h"

#include "velmorant/Version.h"

#include <QDateTime>
#include <QLocale>
#include <QPdfWriter>
#include <QSaveFile>

QPageSize defaultPageSize() {
    return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize(QPageSize::Letter)
                                                                              : QPageSize(QPageSize::A4);
}

void printPage(QPagedPaintDevice& device,
               const std::function<void(QPainter& painter, const QRectF& area)>& layOut) {
    device.setPageMargins(QMarginsF(page::kMarginMillimetres, page::kMarginMillimetres,
                                    page::kMarginMillimetres, page::kMarginMillimetres),
                          QPageLayout::Millimeter);
    QPainter painter(&device);
    // Work in points, whatever the device's resolution.
    const double scale = device.logicalDpiX() / 72.0;
    painter.scale(scale, scale);
    const QRectF full(QPointF(0, 0), device.pageLayout().paintRectPoints().size());
    // A printer that keeps wider margins of its own has already moved the origin inside them.
    const double footerHeight = 16;
    layOut(painter, full.adjusted(0, 0, 0, -footerHeight));

    const std::string footer =
        "Printed " +
        QLocale::system().toString(QDateTime::currentDateTime(), QLocale::ShortFormat).toStdString() +
        " by " + velmorant::kProductName + " " + velmorant::kProductVersion;
    PageWriter foot(
        painter, QRectF(full.left(), full.bottom() - footerHeight + 4, full.width(), footerHeight), 1, true);
    foot.useFont(8);
    foot.paragraph({footer}, page::kQuietColour);
}

std::optional<QString> writePdf(const QString& path, const QString& title,
                                const std::function<void(QPagedPaintDevice& device)>& print) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    {
        QPdfWriter writer(&file);
        writer.setPageSize(defaultPageSize());
        writer.setResolution(300);
        writer.setTitle(title);
        writer.setCreator(QString("%1 %2").arg(velmorant::kProductName, velmorant::kProductVersion));
        print(writer);
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}
