// The chart exported as a PDF from the real window: real text on one page, and a folder that cannot be
// written to said so with nothing left behind.
#include "app/MessageBox.h"
#include "app/Module1.h"
#include "app/Tithi_Vel.h"
#include "support/PdfText.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace {

using testing_support::pdfText;

class PrintTest : public testing::Test {
protected:
    void SetUp() override {
        testing_support::makeDatabase(dir / "velmorant.mdb");
        testing_support::CurrentDir cwd(dir.path());
        Module1::Main();
        window = Module1::mainWindow();
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override { delete window; }

    testing_support::TempDir dir;
    MessageBox::Recorder boxes;
    Tithi_Vel* window = nullptr;
};

TEST_F(PrintTest, TheExportedPageHoldsTheChartAsText) {
    window->exportChartTo(QString::fromStdString((dir / "early.pdf").string()));
    EXPECT_EQ(boxes.texts(), QStringList{"Press Calculate first: there is no chart to print yet."});
    EXPECT_FALSE(std::filesystem::exists(dir / "early.pdf"));

    window->findChild<QLineEdit*>("txtname")->setText("Asha");
    const int rows[4][3] = {{1, 0, 0}, {2, 24, 30}, {12, 29, 59}, {1, 0, 0}};
    for (int row = 0; row < 4; ++row) {
        window->lstsign(row).setListIndex(rows[row][0]);
        window->lstdeg(row).setListIndex(rows[row][1] + 1);
        window->lstmin(row).setListIndex(rows[row][2] + 1);
    }
    QTest::mouseClick(window->findChild<QPushButton*>("cmd_calc"), Qt::LeftButton);
    const auto pdf = dir / "Asha.pdf";
    window->exportChartTo(QString::fromStdString(pdf.string()));
    ASSERT_TRUE(std::filesystem::exists(pdf));

    const std::string text = pdfText(pdf);
    for (const char* expected :
         {"Asha", "Sun: Aries 0°00′", "Moon: Taurus 24°30′", "AK: Pisces 29°59′",
          "Shukla Panchami: 1 sign 24°30′ of elongation", "Shukla Pratipada: 0 signs 0°01′ of elongation",
          "Shukla paksha, tithi 5 of 15", "Moon in Mrigashira, pada 1, lord Mars", "by velmorant 1.00"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    // The page writes the results out; the window's own caption format stays in the window.
    for (const char* caption : {"deg ", "mins("})
        EXPECT_EQ(text.find(caption), std::string::npos) << caption << "\n" << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 1) << "one page";
}

TEST_F(PrintTest, AFolderThatCannotBeWrittenIsSaidSoAndNothingIsLeft) {
    window->findChild<QLineEdit*>("txtname")->setText("Asha");
    for (int row = 0; row < 4; ++row) {
        window->lstsign(row).setListIndex(1);
        window->lstdeg(row).setListIndex(1);
        window->lstmin(row).setListIndex(1);
    }
    QTest::mouseClick(window->findChild<QPushButton*>("cmd_calc"), Qt::LeftButton);
    const auto locked = dir / "locked";
    std::filesystem::create_directory(locked);
    std::filesystem::permissions(locked,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const std::string problem = testing_support::asUnprivilegedUser([&] {
        window->exportChartTo(QString::fromStdString((locked / "Asha.pdf").string()));
        const QString said = boxes.texts().value(0);
        return said.startsWith(QString::fromStdString("The chart could not be written to " +
                                                      (locked / "Asha.pdf").string() + ": "))
                   ? std::string()
                   : "said: " + said.toStdString();
    });
    EXPECT_EQ(problem, "");
    std::filesystem::permissions(locked, std::filesystem::perms::owner_all);
    EXPECT_TRUE(std::filesystem::is_empty(locked));
}

} // namespace
