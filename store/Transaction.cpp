#include "store/Transaction.h"

namespace store {

Transaction::Transaction(Connection& connection)
    : m_connection(connection) {
    m_connection.execute("begin immediate");
}

Transaction::~Transaction() {
    if (!m_open)
        return;
    try {
        m_connection.execute("rollback");
    } catch (...) {
        // SQLite rolls back by itself when a statement failed badly enough; nothing is kept either way.
    }
}

void Transaction::commit() {
    // A file moved, removed or replaced meanwhile would take the write out of sight: roll it back.
    m_connection.checkBeforeCommit();
    m_connection.execute("commit");
    m_open = false;
}

void Transaction::rollback() {
    m_open = false;
    m_connection.execute("rollback");
}

} // namespace store
