#include "store/ChartStore.h"

#include "store/Error.h"
#include "store/FileStore.h"
#include "store/ServerStore.h"

#include <cctype>
#include <cstdlib>

namespace store {

std::optional<ChartIndex> ChartStore::readIndexWithoutWaiting() {
    try {
        return readIndex();
    } catch (const Error&) {
        return std::nullopt;
    }
}

std::optional<std::string> environmentLocation() {
    const char* named = std::getenv("VELMORANT_DATABASE");
    return named && *named ? std::optional<std::string>(named) : std::nullopt;
}

bool isServerLocation(std::string_view location) {
    if (location.starts_with("postgresql://") || location.starts_with("postgres://"))
        return true;
    // libpq's keyword form begins with a keyword and an equals sign: "host=db dbname=charts".
    std::size_t at = 0;
    while (at < location.size() && std::isspace(static_cast<unsigned char>(location[at])))
        ++at;
    const std::size_t keyword = at;
    while (at < location.size() &&
           (std::isalpha(static_cast<unsigned char>(location[at])) || location[at] == '_'))
        ++at;
    while (at < location.size() && location[at] == ' ')
        ++at;
    return at > keyword && at < location.size() && location[at] == '=' &&
           !location.substr(keyword).starts_with("Provider");
}

std::unique_ptr<ChartStore> openStore(std::string_view location) {
    if (isServerLocation(location))
        return openServerStore(location);
    if (location.starts_with("Provider="))
        return FileStore::openConnectionString(location);
    return FileStore::openFile(std::filesystem::path(location));
}

} // namespace store
