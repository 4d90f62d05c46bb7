// A write transaction: taken at once (waiting while another program writes), committed explicitly,
// rolled back when left any other way.
#pragma once

#include "store/Connection.h"

namespace store {

class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();
    // Ends the transaction without keeping anything it wrote.
    void rollback() noexcept;

private:
    Connection& m_connection;
    bool m_open = true;
};

} // namespace store
