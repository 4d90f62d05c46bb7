#pragma once

#include "store/Error.h"

#include <gtest/gtest.h>

namespace testing_support {

// Runs `call` and returns the data layer's error that it throws; fails the test when it throws none.
template <typename Call>
store::Error errorOf(Call&& call) {
    try {
        call();
    } catch (const store::Error& e) {
        return e;
    }
    ADD_FAILURE() << "no error was thrown";
    return store::Error(store::Errc::DatabaseFault, "none was thrown");
}

} // namespace testing_support
