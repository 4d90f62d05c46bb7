#include "form/Database.h"

#include "store/Error.h"

namespace form {

const store::Recordset& atRow(store::Recordset& table, int row) {
    table.moveFirst();
    try {
        table.move(row);
    } catch (const store::Error& e) {
        if (e.code() != store::Errc::MovePastEnd)
            throw;
        throw store::Error(store::Errc::ShortTable, table.table());
    }
    if (table.eof())
        throw store::Error(store::Errc::ShortTable, table.table());
    return table;
}

} // namespace form
