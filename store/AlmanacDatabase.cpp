#include "store/AlmanacDatabase.h"

#include "store/Error.h"

#include <string>

namespace store {

namespace {

std::string selectAll(std::string_view table) {
    return "select * from " + std::string(table);
}

// The reference row at `row` (0-based). A table cut short outside the program is named as such,
// rather than as a move past its end.
Recordset& atRow(Recordset& rs, std::string_view table, int row) {
    rs.moveFirst();
    try {
        rs.move(row);
    } catch (const Error& e) {
        if (e.code() != Errc::MovePastEnd)
            throw;
        throw Error(Errc::ShortTable, table);
    }
    if (rs.eof())
        throw Error(Errc::ShortTable, table);
    return rs;
}

} // namespace

void openRecordsets(AlmanacDatabase& db) {
    db.rsnakshatra.open(selectAll("nakshatra"), db.con, kDynamicCursor, kOptimisticLock, kProviderDecides);
    db.rsrashi.open(selectAll("rashi"), db.con, kDynamicCursor, kOptimisticLock, kProviderDecides);
    db.rstithi.open(selectAll("tithi"), db.con, kDynamicCursor, kOptimisticLock, kProviderDecides);
    db.rsyoga.open(selectAll("yoga"), db.con, kDynamicCursor, kOptimisticLock, kProviderDecides);
    db.rskarana.open(selectAll("karana"), db.con, kDynamicCursor, kOptimisticLock, kProviderDecides);
    db.rsrecords.open(selectAll("Int_Velmorant"), db.con, kDynamicCursor, kOptimisticLock, kProviderDecides);
}

void closeRecordsets(AlmanacDatabase& db) {
    db.rsnakshatra.close();
    db.rsyoga.close();
    db.rskarana.close();
    db.rstithi.close();
    db.rsrecords.close();
    db.rsrashi.close();
}

void reopenRecords(AlmanacDatabase& db) {
    db.rsrecords.close();
    db.rsrecords.open(selectAll("Int_Velmorant"), db.con, kDynamicCursor, kOptimisticLock, kProviderDecides);
}

std::string RecordsetTables::tithiName(int row) {
    return atRow(m_db.rstithi, "tithi", row).field("tithi_name").toText();
}

std::string RecordsetTables::rashiName(int row) {
    return atRow(m_db.rsrashi, "rashi", row).field("rashi_name").toText();
}

std::string RecordsetTables::nakshatraName(int row) {
    return atRow(m_db.rsnakshatra, "nakshatra", row).field("nak_name").toText();
}

almanac::YogaNames RecordsetTables::yoga(int row) {
    const Recordset& rs = atRow(m_db.rsyoga, "yoga", row);
    return {rs.field("name").toText(), rs.field("lord").toText(), rs.field("deity").toText()};
}

std::string RecordsetTables::karanaName(int row) {
    return atRow(m_db.rskarana, "karana", row).field("name").toText();
}

} // namespace store
