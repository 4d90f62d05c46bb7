// For tests only: a hook every write transaction on a connection runs just before it commits, so that a
// test can move, remove or replace the file at the last moment.
#pragma once

#include "store/Connection.h"

#include <functional>
#include <utility>

namespace store {

struct BeforeCommitHook {
    static void set(Connection& connection, std::function<void()> hook) {
        connection.m_beforeCommit = std::move(hook);
    }
};

} // namespace store
