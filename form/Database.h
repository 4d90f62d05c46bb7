// The shared database objects: the connection and the six recordsets every handler works on, kept for
// the whole run.
#pragma once

#include "store/Connection.h"
#include "store/Recordset.h"

#include <string_view>

namespace form {

// The connection string of the program: the file velmorant.mdb in the current folder.
inline constexpr std::string_view kConnectionString =
    "Provider=Velmorant.SQLite;Data Source=velmorant.mdb;Persist Security Info= False";

struct Database {
    store::Connection con;
    store::Recordset rsnakshatra;
    store::Recordset rsrashi;
    store::Recordset rstithi;
    store::Recordset rsyoga;
    store::Recordset rskarana;
    store::ChartRecordset rsrecords;
};

// The reference table's row `row` (0-based). A table cut short outside the program is named as such,
// rather than as a move past its end.
const store::Recordset& atRow(store::Recordset& table, int row);

} // namespace form
