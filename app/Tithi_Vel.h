// The main window: the four body rows, the name box and stored names, the three buttons and the
// result lines. The handlers' logic lives in almanac/ and store/; this class lays out the controls,
// offers them through the almanac's control interfaces and runs each handler under the guard.
#pragma once

#include "almanac/Controls.h"
#include "app/QtControls.h"

#include <QPushButton>
#include <QWidget>

#include <array>
#include <memory>

namespace store {
struct AlmanacDatabase;
}

class Tithi_Vel final : public QWidget, public almanac::Form {
    Q_OBJECT
public:
    explicit Tithi_Vel(store::AlmanacDatabase& db, QWidget* parent = nullptr);
    ~Tithi_Vel() override;

    // Loads the window (Form_Load), then shows it maximized with the focus on the first control.
    void Show();

    // almanac::Form
    almanac::TextBox& txtname() override { return *m_txtname; }
    almanac::ListBox& lstname() override { return *m_lstname; }
    almanac::ListBox& lstsign(int row) override { return *m_lstsign.at(static_cast<std::size_t>(row)); }
    almanac::ListBox& lstdeg(int row) override { return *m_lstdeg.at(static_cast<std::size_t>(row)); }
    almanac::ListBox& lstmin(int row) override { return *m_lstmin.at(static_cast<std::size_t>(row)); }
    almanac::Label& lblplanet(int index) override { return *m_lblplanet.at(static_cast<std::size_t>(index)); }
    almanac::Label& lbl(int index) override { return *m_lbl.at(static_cast<std::size_t>(index)); }
    almanac::Label& lbltithi(int index) override { return *m_lbltithi.at(static_cast<std::size_t>(index)); }
    almanac::Label& lblnak(int index) override { return *m_lblnak.at(static_cast<std::size_t>(index)); }
    almanac::Label& lblyoga(int index) override { return *m_lblyoga.at(static_cast<std::size_t>(index)); }
    almanac::Label& lblkarana(int index) override { return *m_lblkarana.at(static_cast<std::size_t>(index)); }
    almanac::Label& lblnm(int index) override;
    void showMessage(std::string_view text) override;

public slots:
    void Form_Load();
    void cmd_calc_Click();
    void cmd_save_Click();
    void cmd_exit_Click();
    void lstname_Click();

private:
    QLabel* addLabel(const QString& name, const QString& caption, int left, int top, int width, int height);
    SelectorList* addList(const QString& name, int left, int top, int width, int height);
    QPushButton* addButton(const QString& name, const QString& caption, int left);
    void buildLayout();

    store::AlmanacDatabase& m_db;

    std::unique_ptr<QtTextBox> m_txtname;
    std::unique_ptr<QtListBox> m_lstname;
    std::array<std::unique_ptr<QtListBox>, 4> m_lstsign;
    std::array<std::unique_ptr<QtListBox>, 4> m_lstdeg;
    std::array<std::unique_ptr<QtListBox>, 4> m_lstmin;
    std::array<std::unique_ptr<QtLabel>, 5> m_lblplanet;
    std::array<std::unique_ptr<QtLabel>, 8> m_lbl;
    std::array<std::unique_ptr<QtLabel>, 2> m_lbltithi;
    std::array<std::unique_ptr<QtLabel>, 2> m_lblnak;
    std::array<std::unique_ptr<QtLabel>, 2> m_lblyoga;
    std::array<std::unique_ptr<QtLabel>, 2> m_lblkarana;
    std::unique_ptr<QtLabel> m_lblnm4;
    QLabel* m_label1 = nullptr;
    QLabel* m_label8 = nullptr;
    QLabel* m_label10 = nullptr;
    QPushButton* m_cmd_calc = nullptr;
    QPushButton* m_cmd_save = nullptr;
    QPushButton* m_cmd_exit = nullptr;
};
