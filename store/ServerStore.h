// The charts in a PostgreSQL database that several desks share.
#pragma once

#include "store/ChartStore.h"

#include <memory>
#include <string_view>

namespace store {

// Opens the database `location` names: a postgresql:// URI or a libpq connection string, with
// libpq's own defaults, service files and password file. Throws ServerUnreachable, naming the host
// and the database, when no connection can be made, and MissingTable when the database does not hold
// Velmorant's tables.
std::unique_ptr<ChartStore> openServerStore(std::string_view location);

} // namespace store
