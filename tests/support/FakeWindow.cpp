#include "support/FakeWindow.h"

#include "almanac/Entries.h"
#include "store/ChartIndex.h"
#include "store/FileStore.h"

#include <algorithm>
#include <stdexcept>

namespace testing_support {

void FakeSelector::setListIndex(int index) {
    selected = index >= 0 && index < static_cast<int>(entries.size()) ? index : -1;
}

std::string FakeSelector::text() const {
    return selected < 0 ? std::string() : entries.at(std::size_t(selected));
}

void FakeSelector::setText(std::string_view text) {
    const auto found = std::ranges::find(entries, text);
    setListIndex(found == entries.end() ? -1 : static_cast<int>(found - entries.begin()));
}

std::vector<std::string> FakeNameList::entries() const {
    std::vector<std::string> shown;
    for (std::size_t i = 0; names && i < names->size(); ++i)
        shown.emplace_back(names->name(i));
    return shown;
}

void FakeNameList::setListIndex(int index) {
    selected = names && index >= 0 && index < static_cast<int>(names->size()) ? index : -1;
}

std::string FakeNameList::text() const {
    return selected < 0 ? std::string() : std::string(names->name(std::size_t(selected)));
}

void FakeNameList::setText(std::string_view text) {
    const auto shown = entries();
    const auto found = std::ranges::find(shown, text);
    setListIndex(found == shown.end() ? -1 : static_cast<int>(found - shown.begin()));
}

void FakeNameList::showNames(std::shared_ptr<const store::ChartIndex> shown) {
    names = std::move(shown);
    selected = -1;
}

FakeWindow::FakeWindow() {
    for (int row = 0; row < form::kBodyRows; ++row) {
        const auto i = std::size_t(row);
        signs[i].entries.assign(almanac::kSignEntries.begin(), almanac::kSignEntries.end());
        degrees[i].entries = almanac::numberEntries(30);
        minutes[i].entries = almanac::numberEntries(60);
        planets[i].text = almanac::kBodyCaptions[i];
    }
    planets[form::kNameCaption].text = "Enter Name";
}

void FakeWindow::chooseAll(const Rows& rows) {
    for (std::size_t row = 0; row < rows.size(); ++row) {
        signs[row].setListIndex(rows[row][0]);
        degrees[row].setListIndex(rows[row][1] + 1);
        minutes[row].setListIndex(rows[row][2] + 1);
    }
}

Rows FakeWindow::shownRows() const {
    Rows rows{};
    for (std::size_t row = 0; row < rows.size(); ++row)
        rows[row] = {signs[row].selected, degrees[row].selected - 1, minutes[row].selected - 1};
    return rows;
}

std::vector<std::string> FakeWindow::results() const {
    std::vector<std::string> all;
    for (std::size_t pair = 0; pair < 2; ++pair)
        for (const auto* line : {&tithi, &nakshatra, &yoga, &karana})
            all.push_back((*line)[pair].text);
    return all;
}

form::Label& FakeWindow::lblnm(int index) {
    if (index != form::kStoredNamesPrompt)
        throw std::out_of_range("lblnm has only the index 4");
    return clickToOpen;
}

void FakeWindow::showMessage(std::string_view text) {
    messages.emplace_back(text);
    if (whileMessageOpen)
        whileMessageOpen(messages.back());
}

void FormOnDatabase::start(std::string_view sql) {
    makeDatabase(path, sql);
    auto file =
        store::FileStore::openConnectionString("Provider=Velmorant.SQLite;Data Source=" + path.string());
    file->connection().setBusyWait(std::chrono::milliseconds(200));
    db.con = std::move(file);
    run(&form::MainForm::Form_Load);
}

void FormOnDatabase::save(const std::string& name, const Rows& rows) {
    window.name.value = name;
    window.chooseAll(rows);
    run(&form::MainForm::cmd_save_Click);
}

void FormOnDatabase::select(int position) {
    window.names.setListIndex(position);
    run(&form::MainForm::lstname_Click);
}

std::vector<std::string> FormOnDatabase::storedNames() const {
    return queryColumn(path, "select name from Int_Velmorant order by rowid");
}

} // namespace testing_support
