#include "store/Charts.h"

#include "almanac/Checks.h"
#include "store/Error.h"
#include "store/Transaction.h"

#include <array>
#include <optional>
#include <string>

namespace store {

namespace {

constexpr int kSignEntries = 12;

// Column names of a stored chart: the body's prefix and the quantity, in the table's own order.
constexpr std::array<std::string_view, 13> kChartColumns{
    "name",   "sunsign", "sundeg", "sunmin",  "monsign", "mondeg", "monmin",
    "aksign", "akdeg",   "akmin",  "amksign", "amkdeg",  "amkmin",
};

// Ordinal of a body row's sign in a stored chart; its degree and minute follow it.
constexpr int signOrdinal(int row) {
    return 3 * row + 2;
}

// A stored name as listed; a name left empty by some other program is listed as an empty entry.
std::string listedName(const Recordset& rs) {
    const Field name = rs.field("name");
    return name.isNull() ? std::string() : name.toText();
}

void listNames(almanac::ListBox& list, Recordset& records) {
    if (!records.eof())
        records.moveFirst();
    while (!records.eof()) {
        list.addItem(listedName(records));
        records.moveNext();
    }
}

// Whether a stored chart already has exactly this name. Reads every row there is in the file now.
bool isStored(AlmanacDatabase& db, std::string_view name) {
    reopenRecords(db);
    Recordset& records = db.rsrecords;
    if (!records.eof())
        records.moveFirst();
    for (; !records.eof(); records.moveNext()) {
        const Field stored = records.field("name");
        if (!stored.isNull() && stored.toText() == name)
            return true;
    }
    return false;
}

std::array<Value, 13> chartValues(almanac::Form& form) {
    std::array<Value, 13> values;
    values[0] = Value(form.txtname().text());
    for (int row = 0; row < almanac::kBodyRows; ++row) {
        const auto at = static_cast<std::size_t>(signOrdinal(row) - 1);
        values[at] = Value(static_cast<std::int16_t>(form.lstsign(row).listIndex()));
        values[at + 1] = Value(form.lstdeg(row).text());
        values[at + 2] = Value(form.lstmin(row).text());
    }
    return values;
}

// A stored sign as a list position: 1 to 12, or the prompt at 0; anything else selects nothing.
int signPosition(const Field& field) {
    if (field.isNull())
        return -1;
    try {
        const int sign = field.toInt16();
        return sign >= 0 && sign <= kSignEntries ? sign : -1;
    } catch (const Error&) {
        return -1;
    }
}

void recallEntry(almanac::ListBox& selector, const Field& field) {
    if (field.isNull())
        selector.setListIndex(-1);
    else
        selector.setText(field.toText());
}

} // namespace

void loadForm(almanac::Form& form, AlmanacDatabase& db) {
    openRecordsets(db);
    form.lbl(7).setVisible(false);
    form.lblnak(1).setVisible(false);
    if (db.rsrecords.eof()) {
        form.lstname().setVisible(false);
        form.lblnm(4).setVisible(false);
    }
    listNames(form.lstname(), db.rsrecords);
}

void saveChart(almanac::Form& form, AlmanacDatabase& db) {
    if (!almanac::checkName(form, kSaveNameMessage))
        return;
    const std::string name = form.txtname().text();
    const std::optional<std::string> missing = almanac::missingEntryMessage(form);
    {
        // The test for the name and the new row are one write: two copies of the program saving the
        // same name at once store it once. Nothing is held while a message is open.
        Transaction write(db.con);
        if (isStored(db, name)) {
            write.rollback();
            form.showMessage(kDuplicateMessage);
            return;
        }
        if (missing) {
            write.rollback();
            form.showMessage(*missing);
            return;
        }
        db.rsrecords.addNew(kChartColumns, chartValues(form));
        write.commit();
    }
    const int remembered = form.lstname().listIndex();
    form.showMessage(kSavedMessage);

    // The records were read afresh inside the write and hold the new row: they are the table as the
    // save left it, so the list is rebuilt from them without reading the file again.
    almanac::ListBox& list = form.lstname();
    list.clear();
    listNames(list, db.rsrecords);
    db.rsrecords.moveFirst();
    db.rsrecords.move(remembered);
    list.setListIndex(remembered); // recalls the chart at that position, as a user's choice would
    list.setVisible(true);
    form.lblnm(4).setVisible(true);
}

void recallChart(almanac::Form& form, AlmanacDatabase& db) {
    const int position = form.lstname().listIndex();
    if (position < 0)
        return;
    Recordset& records = db.rsrecords;
    records.moveFirst();
    records.move(position);
    form.txtname().setText(listedName(records));
    form.txtname().setEnabled(true);
    // A damaged value (changed outside the program) leaves its selector with nothing selected.
    for (int row = 0; row < almanac::kBodyRows; ++row) {
        const int sign = signOrdinal(row);
        form.lstsign(row).setListIndex(signPosition(records.field(sign)));
        recallEntry(form.lstdeg(row), records.field(sign + 1));
        recallEntry(form.lstmin(row), records.field(sign + 2));
    }
}

} // namespace store
