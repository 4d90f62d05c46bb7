#include "store/ServerStore.h"

#include "store/Error.h"

namespace store {

std::unique_ptr<ChartStore> openServerStore(std::string_view location) {
    throw Error(Errc::ServerUnreachable, location);
}

} // namespace store
