#include "store/Transaction.h"

#include "store/Sqlite.h"

namespace store {

Transaction::Transaction(Connection& connection)
    : m_connection(connection) {
    sqlite::execute(connection.handle(), "begin immediate");
}

Transaction::~Transaction() {
    rollback();
}

void Transaction::commit() {
    sqlite::execute(m_connection.handle(), "commit");
    m_open = false;
}

void Transaction::rollback() noexcept {
    if (m_open)
        sqlite3_exec(m_connection.handle(), "rollback", nullptr, nullptr, nullptr);
    m_open = false;
}

} // namespace store
