// An in-memory stand-in for the main window: the same controls, entries and captions, every message
// recorded instead of shown; and the window's logic over a fresh database in a throwaway folder.
#pragma once

#include "form/Chart.h"
#include "form/Controls.h"
#include "form/Database.h"
#include "form/Guard.h"
#include "form/MainForm.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

class FakeSelector : public form::Selector {
public:
    std::vector<std::string> entries;
    int selected = -1;

    int listIndex() const override { return selected; }
    void setListIndex(int index) override;
    std::string text() const override;
    void setText(std::string_view text) override;
};

class FakeNameList final : public form::NameList {
public:
    std::shared_ptr<const store::ChartIndex> names;
    int selected = -1;
    bool visible = true;

    // The names shown, in order.
    std::vector<std::string> entries() const;

    int listIndex() const override { return selected; }
    void setListIndex(int index) override;
    std::string text() const override;
    void setText(std::string_view text) override;
    void showNames(std::shared_ptr<const store::ChartIndex> shown) override;
    bool isVisible() const override { return visible; }
    void setVisible(bool v) override { visible = v; }
};

class FakeLabel final : public form::Label {
public:
    std::string text;
    bool visible = true;
    std::string caption() const override { return text; }
    void setCaption(std::string_view c) override { text = c; }
    bool isVisible() const override { return visible; }
    void setVisible(bool v) override { visible = v; }
};

class FakeTextBox final : public form::TextBox {
public:
    std::string value;
    bool enabled = true;
    int focusCount = 0;
    std::string text() const override { return value; }
    void setText(std::string_view t) override { value = t; }
    void setEnabled(bool e) override { enabled = e; }
    void setFocus() override { ++focusCount; }
};

class FakeBirthPanel final : public form::BirthPanel {
public:
    store::BirthData fields{"", "", "UTC", "lahiri", 8, "mean"};
    std::vector<form::PlanetRow> planets;
    std::vector<std::string> notes;
    std::string rowsSource;

    store::BirthData birthData() const override { return fields; }
    void setBirthData(const store::BirthData& birth) override { fields = birth; }
    void clear() override {
        fields = {"", "", "UTC", "lahiri", 8, "mean"};
        planets.clear();
        notes.clear();
        rowsSource.clear();
    }
    void showPlanets(const std::vector<form::PlanetRow>& rows,
                     const std::vector<std::string>& lines) override {
        planets = rows;
        notes = lines;
    }
    void focusField(form::BirthField) override {}
    void showRowsSource(std::string_view note) override { rowsSource = note; }
};

using Rows = std::array<std::array<int, 3>, form::kBodyRows>; // {sign 1..12, degrees, minutes} per row

class FakeWindow final : public form::Window {
public:
    FakeWindow();

    FakeTextBox name;
    FakeNameList names;
    std::array<FakeSelector, form::kBodyRows> signs, degrees, minutes;
    std::array<FakeLabel, 5> planets;
    std::array<FakeLabel, 8> captions;
    std::array<FakeLabel, 2> tithi, nakshatra, yoga, karana;
    FakeLabel clickToOpen;
    FakeBirthPanel birth;
    std::optional<form::ChartPicture> chart;
    std::vector<std::string> details;
    std::string resultsSource, staleWarning;
    std::vector<std::string> messages; // every message, question and request for text, in order
    std::function<void(const std::string&)> whileMessageOpen;
    bool answerYes = true;                 // the answer to a question
    std::optional<std::string> answerText; // the answer to a request for text; none: Cancel
    bool unloaded = false;

    // Picks every row: a sign 1..12 (0 the prompt), degrees and minutes as numbers (-1 the prompt).
    void chooseAll(const Rows& rows);
    // What the twelve selectors show, in the same form.
    Rows shownRows() const;
    // Every result caption, outer pair then inner pair: tithi, nakshatra, yoga, karana.
    std::vector<std::string> results() const;

    form::TextBox& txtname() override { return name; }
    form::NameList& lstname() override { return names; }
    form::Selector& lstsign(int row) override { return signs.at(std::size_t(row)); }
    form::Selector& lstdeg(int row) override { return degrees.at(std::size_t(row)); }
    form::Selector& lstmin(int row) override { return minutes.at(std::size_t(row)); }
    form::Label& lblplanet(int index) override { return planets.at(std::size_t(index)); }
    form::Label& lbl(int index) override { return captions.at(std::size_t(index)); }
    form::Label& lbltithi(int pair) override { return tithi.at(std::size_t(pair)); }
    form::Label& lblnak(int pair) override { return nakshatra.at(std::size_t(pair)); }
    form::Label& lblyoga(int pair) override { return yoga.at(std::size_t(pair)); }
    form::Label& lblkarana(int pair) override { return karana.at(std::size_t(pair)); }
    form::Label& lblnm(int index) override;
    form::BirthPanel& birthPanel() override { return birth; }
    void showChart(const form::ChartPicture& picture) override { chart = picture; }
    void showDetails(const std::vector<std::string>& lines) override { details = lines; }
    void showResultsSource(std::string_view source, std::string_view stale) override {
        resultsSource = source;
        staleWarning = stale;
    }
    void showMessage(std::string_view text) override;
    void unload() override { unloaded = true; }
    bool askYesNo(std::string_view question) override {
        messages.emplace_back(question);
        return answerYes;
    }
    std::optional<std::string> askText(std::string_view prompt, std::string_view) override {
        messages.emplace_back(prompt);
        return answerText;
    }
};

// The guard's view of the program: run-time errors recorded, and an end that stops the handler.
class FakeShell final : public form::Shell {
public:
    std::vector<std::pair<int, std::string>> errors;
    std::vector<int> endings;
    void showRunTimeError(int number, const std::string& text) override { errors.emplace_back(number, text); }
    void endProgram(int status) override {
        endings.push_back(status);
        throw form::ProgramEnded{status};
    }
};

// The window's logic over a fresh database in a throwaway folder, with a fake window.
class FormOnDatabase : public testing::Test {
protected:
    // Makes the database, runs `sql` on it, opens it and loads the window.
    void start(std::string_view sql = {});
    // Runs a handler as the window does, under the guard.
    void run(void (form::MainForm::*handler)()) {
        form::guarded(shell, [&] { (logic.*handler)(); });
    }
    template <typename Work>
    void run(Work&& work) {
        form::guarded(shell, std::forward<Work>(work));
    }
    void save(const std::string& name, const Rows& rows);
    void select(int position);
    std::vector<std::string> storedNames() const;

    TempDir dir;
    std::filesystem::path path = dir / "velmorant.mdb";
    form::Database db;
    FakeWindow window;
    FakeShell shell;
    form::MainForm logic{window, db};
};

} // namespace testing_support
