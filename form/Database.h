// The shared database objects: the connection to the chart store and the six recordsets every handler works
// on, kept for the whole run.
#pragma once

#include "store/ChartStore.h"
#include "store/Recordset.h"

#include <memory>

namespace form {

struct Database {
    // The chart store, opened at start-up: the file velmorant.mdb, or another file or a server.
    std::unique_ptr<store::ChartStore> con;
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
