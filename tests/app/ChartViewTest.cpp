// The chart in the Wheel tab: its style remembered from one run to the next, its words for a screen
// reader, its images, and its labels as painted, none over another.
#include "app/ChartView.h"

#include "app/ChartDrawing.h"
#include "app/MessageBox.h"
#include "app/Module1.h"
#include "app/Tithi_Vel.h"
#include "form/ChartLayout.h"
#include "support/TempDir.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

int at(int sign, int degrees, int minutes) {
    return sign * 108000 + degrees * 3600 + minutes * 60;
}

// A chart with a lagna in Leo and the nine grahas, five of them in Aries.
form::ChartPicture withLagna() {
    form::ChartPicture picture;
    picture.name = "Asha";
    picture.moment = "1990-04-17 09:00 Asia/Kolkata";
    picture.place = "Chennai, Tamil Nadu, India";
    picture.lagnaSign = 4;
    picture.points = {{"La", "Lagna", at(4, 12, 30)},     {"Su", "Sun", at(0, 2, 28)},
                      {"Mo", "Moon", at(0, 27, 5), true}, {"Ma", "Mars", at(0, 14, 10)},
                      {"Me", "Mercury", at(0, 20, 45)},   {"Ju", "Jupiter", at(0, 8, 3), false, true},
                      {"Ve", "Venus", at(11, 28, 40)},    {"Sa", "Saturn", at(9, 15, 0)},
                      {"Ra", "Rahu", at(2, 10, 20)},      {"Ke", "Ketu", at(8, 10, 20)}};
    picture.wheel = form::wheelPicture({2 * 60 + 28, 27 * 60 + 5, 27 * 60 + 5, 8 * 60 + 3});
    picture.pairNotes = {"Sun–Moon: Shukla Dwitiya", "AK–AmK: Krishna Chaturdashi"};
    return picture;
}

// Nine points in one sign: more than any cell or house holds at the usual size.
form::ChartPicture crowded() {
    form::ChartPicture picture = withLagna();
    picture.lagnaSign = 1;
    for (form::ChartPoint& point : picture.points)
        if (point.abbreviation != "Ke")
            point.seconds = point.seconds % 108000;
    return picture;
}

// The four rows only, as a chart without birth data has them.
form::ChartPicture fourRows() {
    form::ChartPicture picture;
    picture.name = "Ravi";
    const std::array<int, 4> rows{3 * 1800 + 2 * 60 + 28, 9 * 1800 + 27 * 60 + 5, 9 * 1800 + 27 * 60 + 5,
                                  10 * 1800 + 25 * 60 + 59};
    picture.wheel = form::wheelPicture(rows);
    const char* names[] = {"Sun", "Moon", "AK", "AmK"};
    for (std::size_t row = 0; row < 4; ++row)
        picture.points.push_back(
            {picture.wheel.bodies[row].label, names[row], rows[row] * 60, row == 2, row == 3});
    return picture;
}

double polygonArea(const QPolygonF& polygon) {
    double twice = 0;
    for (qsizetype i = 0; i < polygon.size(); ++i) {
        const QPointF p = polygon[i];
        const QPointF q = polygon[(i + 1) % polygon.size()];
        twice += p.x() * q.y() - q.x() * p.y();
    }
    return std::abs(twice) / 2;
}

TEST(ChartView, EveryLabelAsPaintedIsClearOfTheOthersAndInsideTheChart) {
    const struct {
        const char* what;
        form::ChartPicture picture;
    } pictures[] = {
        {"lagna and nine grahas", withLagna()}, {"nine in one sign", crowded()}, {"four rows", fourRows()}};
    for (const auto& p : pictures)
        for (const form::ChartStyle style : form::kChartStyles)
            for (const int side : {600, 300}) {
                SCOPED_TRACE(std::string(p.what) + ", " + std::string(form::chartStyleKey(style)) + ", " +
                             std::to_string(side));
                QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
                QPainter painter(&image);
                painter.setFont(QFont("Liberation Sans"));
                const QRectF area(0, 0, side, side);
                std::vector<DrawnLabel> labels;
                paintChart(painter, area, p.picture, style, &labels);
                const bool drawn = style != form::ChartStyle::NorthIndian || p.picture.lagnaSign;
                // Every point by its label, wherever the chart is drawn.
                for (const form::ChartPoint& point : p.picture.points) {
                    const QString label = QString::fromStdString(form::pointLabel(point));
                    EXPECT_EQ(drawn, std::any_of(labels.begin(), labels.end(),
                                                 [&](const DrawnLabel& l) { return l.text == label; }))
                        << label.toStdString();
                }
                for (std::size_t n = 0; n < labels.size(); ++n) {
                    EXPECT_TRUE(area.contains(labels[n].outline.boundingRect()))
                        << labels[n].text.toStdString();
                    for (std::size_t m = 0; m < n; ++m)
                        EXPECT_LT(polygonArea(labels[n].outline.intersected(labels[m].outline)), 0.01)
                            << labels[m].text.toStdString() << " and " << labels[n].text.toStdString();
                }
            }
}

TEST(ChartView, TheNakshatraUnderThePointerIsFoundOnItsRing) {
    // A wheel 540 across over its legend, centred at (300, 270); the ring of nakshatras between 0.7 and
    // 0.8 of its radius, Ashwini from Aries at the left, counter-clockwise.
    const QRectF area(0, 0, 600, 600);
    const double ring = 540 / 2.0 * 0.97 * 0.75;
    const auto point = [&](double degrees) {
        const double radians = degrees * std::numbers::pi / 180;
        return QPointF(300 + ring * std::cos(radians), 270 - ring * std::sin(radians));
    };
    EXPECT_EQ(wheelNakshatraAt(area, point(180 + 6)), 0);
    EXPECT_EQ(wheelNakshatraAt(area, point(180 - 6)), 26);
    EXPECT_EQ(wheelNakshatraAt(area, point(270 + 6)), 7) << "Pushya at the foot";
    EXPECT_EQ(wheelNakshatraAt(area, QPointF(300, 270)), std::nullopt);
}

class ChartViewTest : public testing::Test {
protected:
    void SetUp() override { testing_support::makeDatabase(dir / "velmorant.mdb"); }

    Tithi_Vel* start() {
        testing_support::CurrentDir cwd(dir.path());
        Module1::Main();
        if (Tithi_Vel* window = Module1::mainWindow())
            QApplication::setActiveWindow(window);
        return Module1::mainWindow();
    }

    testing_support::TempDir dir;
    MessageBox::Recorder boxes;
};

TEST_F(ChartViewTest, TheChosenStyleIsKeptForTheNextRunAndTheChartIsReadInWords) {
    std::unique_ptr<Tithi_Vel> window(start());
    ASSERT_NE(window, nullptr);
    auto* style = window->findChild<QComboBox*>("chartStyle");
    auto* chart = window->findChild<ChartView*>("chart");
    ASSERT_NE(style, nullptr);
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(style->currentText(), "South Indian") << "the first time";
    // Labelled by its caption, as a screen reader reads a combo box on this platform.
    const auto labelledBy = QAccessible::queryAccessibleInterface(style)->relations(QAccessible::Label);
    ASSERT_EQ(labelledBy.size(), 1);
    EXPECT_EQ(labelledBy.front().first->text(QAccessible::Name), "Chart style:");

    window->showChart(withLagna());
    const auto description = [&] {
        return QAccessible::queryAccessibleInterface(chart)->text(QAccessible::Description).toStdString();
    };
    EXPECT_NE(description().find("Lagna in Leo"), std::string::npos) << description();

    style->setCurrentIndex(style->findText("North Indian"));
    EXPECT_EQ(chart->chartStyle(), form::ChartStyle::NorthIndian);
    EXPECT_NE(description().find("House 1, Leo: Lagna 12°30'"), std::string::npos) << description();
    window.reset();

    window.reset(start());
    style = window->findChild<QComboBox*>("chartStyle");
    chart = window->findChild<ChartView*>("chart");
    EXPECT_EQ(style->currentText(), "North Indian");
    EXPECT_EQ(chart->chartStyle(), form::ChartStyle::NorthIndian);
    window->showChart(fourRows());
    EXPECT_EQ(description(), "Ravi. " + std::string(form::kNorthNeedsPlaceMessage));
}

TEST_F(ChartViewTest, TheImageIsSavedAsPngOrSvgAndCopiedOnceThereIsAChart) {
    std::unique_ptr<Tithi_Vel> window(start());
    ASSERT_NE(window, nullptr);
    // On the Wheel tab, Tab goes from the style to the two image commands, the chart and on to Print.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_W, Qt::AltModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Y, Qt::AltModifier);
    QStringList reached{QApplication::focusWidget()->objectName()};
    for (int press = 0; press < 4; ++press) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached.append(QApplication::focusWidget()->objectName());
    }
    EXPECT_EQ(reached,
              (QStringList{"chartStyle", "saveChartImage", "copyChartImage", "chart", "printChart"}));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_M, Qt::AltModifier); // Copy image
    EXPECT_TRUE(QTest::qWaitFor([&] { return boxes.texts().size() == 1; })) << "the button pressed";
    window->saveChartImageTo(QString::fromStdString((dir / "early.png").string()));
    EXPECT_EQ(boxes.texts(), QStringList(2, "Press Calculate first: there is no chart to print yet."));
    EXPECT_FALSE(std::filesystem::exists(dir / "early.png"));

    form::ChartPicture picture = withLagna();
    picture.name = "Asha & Ravi <twins>";
    window->showChart(picture);
    window->saveChartImageTo(QString::fromStdString((dir / "Asha.png").string()));
    window->saveChartImageTo(QString::fromStdString((dir / "Asha.svg").string()));
    EXPECT_EQ(boxes.texts().size(), 2) << "nothing more said";
    const QImage png(QString::fromStdString((dir / "Asha.png").string()));
    EXPECT_GE(png.width(), 1600) << "sharp enough to print";
    QFile svg(QString::fromStdString((dir / "Asha.svg").string()));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(svg.readAll());
    QXmlStreamReader xml(text);
    while (!xml.atEnd())
        xml.readNext();
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_TRUE(text.contains("<title>Asha &amp; Ravi &lt;twins&gt;</title>"));
    EXPECT_TRUE(text.contains("Mo 27°05′ AK")) << "the labels as text";

    window->findChild<QPushButton*>("copyChartImage")->click();
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    ASSERT_NE(copied, nullptr);
    EXPECT_TRUE(copied->hasImage());
    EXPECT_TRUE(copied->hasFormat("image/svg+xml"));
}

} // namespace
