// A fixture: the in-memory window loaded over a fresh database in a throwaway folder, with the list's
// selection event wired to recall as in the real window.
#pragma once

#include "store/AlmanacDatabase.h"
#include "store/Charts.h"
#include "support/FakeForm.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace testing_support {

class WindowOnDatabase : public testing::Test {
protected:
    // Makes the database, runs `sql` on it, opens it and loads the window.
    void start(std::string_view sql = {}) {
        makeDatabase(path, sql);
        db.con.open("Provider=Velmorant.SQLite;Data Source=" + path.string());
        form.names.onSelect = [this] {
            store::recallChart(form, db);
        };
        store::loadForm(form, db);
    }

    TempDir dir;
    std::filesystem::path path = dir / "velmorant.mdb";
    store::AlmanacDatabase db;
    FakeForm form;
};

} // namespace testing_support
