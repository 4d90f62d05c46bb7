// A write transaction: the write lock is taken at once (waiting, up to the connection's busy wait,
// while another program writes), the changes are kept only by commit(), and leaving any other way
// rolls them back.
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
    void rollback();

private:
    Connection& m_connection;
    bool m_open = true;
};

} // namespace store
