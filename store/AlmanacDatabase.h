// The shared database objects: the connection and the six recordsets every handler works on.
#pragma once

#include "almanac/Display.h"
#include "store/Connection.h"
#include "store/Recordset.h"

#include <string_view>

namespace store {

// The connection string of the program: the file velmorant.mdb in the current folder.
inline constexpr std::string_view kConnectionString =
    "Provider=Velmorant.SQLite;Data Source=velmorant.mdb;Persist Security Info= False";

struct AlmanacDatabase {
    Connection con;
    Recordset rsnakshatra;
    Recordset rsrashi;
    Recordset rstithi;
    Recordset rsyoga;
    Recordset rskarana;
    Recordset rsrecords;
};

// Opens the six recordsets over `con`, in the order nakshatra, rashi, tithi, yoga, karana, stored
// charts. A missing table stops it there; the ones after it stay closed.
void openRecordsets(AlmanacDatabase& db);

// Closes the six recordsets in the order nakshatra, yoga, karana, tithi, stored charts, rashi.
// The connection stays open.
void closeRecordsets(AlmanacDatabase& db);

// Opens the stored charts again, so that they hold every row now in the file.
void reopenRecords(AlmanacDatabase& db);

// The reference tables as the almanac reads them: each lookup moves to the first row, then on by the
// row position, and reads the row reached.
class RecordsetTables final : public almanac::ReferenceTables {
public:
    explicit RecordsetTables(AlmanacDatabase& db)
        : m_db(db) {}

    std::string tithiName(int row) override;
    std::string rashiName(int row) override;
    std::string nakshatraName(int row) override;
    almanac::YogaNames yoga(int row) override;
    std::string karanaName(int row) override;

private:
    AlmanacDatabase& m_db;
};

} // namespace store
