// Files that appear whole or not at all: each is made under a private name beside its place and takes
// its own name only once complete. Both kinds the program writes, a new database and exported charts,
// come this way.
#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>

namespace store {

// Makes a new, empty file beside `target`, named after it with six random letters added
// ("charts.csv.k3Xz9Q"), for the caller to fill and then give `target`'s name. It gets the mode any new
// file of the user's gets: 0666 less the umask (or as the folder's default ACL says). Throws
// std::filesystem::filesystem_error when it cannot be made.
std::filesystem::path makeScratchFile(const std::filesystem::path& target);

// Writes the file `target` whole: `write` fills a scratch file beside it, which is flushed to the disk
// and then takes `target`'s name, replacing any file there. Throws std::filesystem::filesystem_error
// when the file cannot be made, written or named; an exception from `write` passes on. Either way no
// scratch file is left, and a file already at `target` stays as it was.
void writeWhole(const std::filesystem::path& target, const std::function<void(std::ostream&)>& write);

} // namespace store
