// The main window: the four body rows, the name box and stored names, the three buttons and the result
// lines. It lays out the controls, offers them to the window's logic through the controls interface and
// runs each handler under the guard.
#pragma once

#include "app/CommandButton.h"
#include "app/Lists.h"
#include "app/QtControls.h"
#include "form/Controls.h"
#include "form/MainForm.h"

#include <QPushButton>
#include <QWidget>

class BirthPanel;
class ChartView;
class DayPanel;
class QComboBox;
class QMenu;
class QPlainTextEdit;
class QScrollArea;
class QTabWidget;

#include <array>
#include <memory>
#include <optional>

class Tithi_Vel final : public QWidget, public form::Window {
    Q_OBJECT
public:
    explicit Tithi_Vel(form::Database& db, QWidget* parent = nullptr);
    ~Tithi_Vel() override;

    // Loads the window (Form_Load), then shows it maximized with the focus on the first control.
    void Show();

    // form::Window
    form::TextBox& txtname() override { return *m_txtname; }
    form::NameList& lstname() override { return *m_lstname; }
    form::Selector& lstsign(int row) override { return *m_lstsign.at(static_cast<std::size_t>(row)); }
    form::Selector& lstdeg(int row) override { return *m_lstdeg.at(static_cast<std::size_t>(row)); }
    form::Selector& lstmin(int row) override { return *m_lstmin.at(static_cast<std::size_t>(row)); }
    form::Label& lblplanet(int index) override { return *m_lblplanet.at(static_cast<std::size_t>(index)); }
    form::Label& lbl(int index) override { return *m_lbl.at(static_cast<std::size_t>(index)); }
    form::Label& lbltithi(int pair) override { return *m_lbltithi.at(static_cast<std::size_t>(pair)); }
    form::Label& lblnak(int pair) override { return *m_lblnak.at(static_cast<std::size_t>(pair)); }
    form::Label& lblyoga(int pair) override { return *m_lblyoga.at(static_cast<std::size_t>(pair)); }
    form::Label& lblkarana(int pair) override { return *m_lblkarana.at(static_cast<std::size_t>(pair)); }
    form::Label& lblnm(int index) override;
    form::BirthPanel& birthPanel() override;
    void showChart(const form::ChartPicture& picture) override;
    void showDetails(const std::vector<std::string>& lines) override;
    void showResultsSource(std::string_view source, std::string_view staleWarning) override;
    void showMessage(std::string_view text) override;
    bool askYesNo(std::string_view question) override;
    std::optional<std::string> askText(std::string_view prompt, std::string_view initial) override;
    void unload() override { close(); }

public slots:
    void cmd_calc_Click();
    void cmd_save_Click();
    void cmd_exit_Click();
    void lstname_Click();
    void cmd_fill_Click();
    // A row or the name changed by the user.
    void rowsEdited();
    // The system's print dialog, then the chart on one page.
    void printChart();
    // A file dialog, then the chart as a one-page PDF.
    void exportChart();
    // A file dialog, then the chart as drawn in the Wheel tab, as a PNG or SVG image; or the image to the
    // clipboard.
    void saveChartImage();
    void copyChartImage();

    // The stored charts: the chart selected renamed or deleted; all of them exported, or more imported
    // (a file dialog first).
    void renameChart();
    void deleteChart();
    void exportCharts();
    void importCharts();

public:
    // The chart as a one-page PDF at `path`; a file that cannot be written is said in a message. While
    // the Day tab shows, the day, or the month while its grid shows.
    void exportChartTo(const QString& path);
    // The chart as drawn in the Wheel tab, as an image at `path` (SVG for a name ending in .svg, else PNG).
    void saveChartImageTo(const QString& path);
    // The stored charts written to, or read from, `path`.
    void exportChartsTo(const QString& path);
    void importChartsFrom(const QString& path);
    // The menu of the list of stored names, new each time; the caller owns it.
    QMenu* namesMenu();

    // Every control the Tab key stops at, in the order it takes them; Tab after the last goes to the first.
    QList<QWidget*> tabStops() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* addLabel(const QString& name, const QString& caption, int left, int top, int width, int height);
    SelectorView* addList(const QString& name, QAbstractItemModel* model, int left, int top, int width,
                          int height);
    CommandButton* addButton(const QString& name, const QString& caption, int left);
    void buildLayout();
    void buildFreeArea();
    void showPendingDetails();
    // The chart the Wheel tab shows, for an image of it; with none yet, says to press Calculate first.
    const form::ChartPicture* chartToImage();
    // The next tab of the free area (or the one before, for -1), round again after the last.
    void turnTab(int step);
    // The details tab with every result by name, the keyboard focus on its text.
    void showResultsText();
    // Whether the Day tab shows, so that Print and Export PDF take the day or the month from it.
    bool dayShowing() const;
    // Says what Print and Export PDF do on the tab showing.
    void namePrintButtons();
    void printDay();
    void exportDay();
    void exportDayTo(const QString& path);

    // How often the window asks whether the stored charts changed elsewhere.
    static constexpr int kChangesInterval = 250; // ms

    form::MainForm m_logic;
    form::Database& m_db;

    std::unique_ptr<QtTextBox> m_txtname;
    std::unique_ptr<QtNameList> m_lstname;
    std::array<std::unique_ptr<QtSelector>, form::kBodyRows> m_lstsign;
    std::array<std::unique_ptr<QtSelector>, form::kBodyRows> m_lstdeg;
    std::array<std::unique_ptr<QtSelector>, form::kBodyRows> m_lstmin;
    std::array<std::unique_ptr<QtLabel>, 5> m_lblplanet;
    std::array<std::unique_ptr<QtLabel>, 8> m_lbl;
    std::array<std::unique_ptr<QtLabel>, 2> m_lbltithi;
    std::array<std::unique_ptr<QtLabel>, 2> m_lblnak;
    std::array<std::unique_ptr<QtLabel>, 2> m_lblyoga;
    std::array<std::unique_ptr<QtLabel>, 2> m_lblkarana;
    std::unique_ptr<QtLabel> m_lblnm4;
    CommandButton* m_cmd_calc = nullptr;
    CommandButton* m_cmd_save = nullptr;
    CommandButton* m_cmd_exit = nullptr;
    // What the window adds to the right of its original controls.
    QScrollArea* m_freeArea = nullptr;
    QLabel* m_storeName = nullptr; // on a server store only
    QLabel* m_resultsSource = nullptr;
    QLabel* m_staleWarning = nullptr;
    QTabWidget* m_tabs = nullptr;
    QScrollArea* m_birthScroll = nullptr;
    BirthPanel* m_birthPanel = nullptr;
    QComboBox* m_chartStyle = nullptr;
    CommandButton* m_saveImage = nullptr;
    CommandButton* m_copyImage = nullptr;
    ChartView* m_chart = nullptr;
    QPlainTextEdit* m_details = nullptr;
    std::optional<QString> m_pendingDetails; // details not yet shown, while their tab is not
    QScrollArea* m_dayScroll = nullptr;
    DayPanel* m_dayPanel = nullptr;
    CommandButton* m_print = nullptr;
    CommandButton* m_export = nullptr;
    CommandButton* m_exportCharts = nullptr;
    CommandButton* m_importCharts = nullptr;
    QList<QKeySequence> m_windowKeys; // the keys that work from every control
    bool m_focusGoingToResults = false;
};
