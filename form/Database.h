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

} // namespace form
