// The operations on stored charts, the same for the window and the command line: charts brought in
// from a CSV or JSON file or from another store, written out to one, renamed and deleted. Each write is
// one transaction of the store; the window and the command line add only their own words and exit
// statuses.
#pragma once

#include "charts/Exchange.h"
#include "store/ChartStore.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace charts {

// What an import or a copy stored, and the names it skipped.
using Brought = store::ImportOutcome;

// The stream the charts were being read from failed; nothing was stored.
class InputFailed : public std::system_error {
public:
    using std::system_error::system_error;
};

// Reads the charts of `in`, in `format`, into `store` with one store::ChartImport. The header (CSV) or
// the opening of the list (JSON) is read and checked first, so that a file that holds no charts never
// waits for the store's write lock; then the write begins, and it is kept only once the last chart has
// been read. A name stored already is skipped or, with `replace`, takes the stored chart's place; a name
// met earlier in `in` is skipped either way. Throws ReadError for a chart that cannot be taken,
// InputFailed when `in` cannot be read, and store::Error for the store's troubles: nothing is stored
// then.
Brought importCharts(store::ChartStore& chartStore, std::istream& in, Format format, bool replace,
                     const EphemerisSource& ephemeris);

// Writes every stored chart, with its birth data, to `out` in `format`, in stored order, and flushes
// `out`. Returns how many were written.
std::size_t writeCharts(const store::ChartStore& chartStore, std::ostream& out, Format format);
// The same into the file `path`, written whole (see store::writeWhole). Throws
// std::filesystem::filesystem_error when the file cannot be written; a store::Error passes on. Either
// way no file is left, and one there before stays as it was.
std::size_t exportCharts(const store::ChartStore& chartStore, const std::filesystem::path& path,
                         Format format);

// A copy that cannot be made: the source and the target are one store, or a chart of the source holds
// what no chart is stored with (no value where a position belongs, a sign that is not a whole number).
class CopyRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Whether `a` and `b` are one store: the same file, by whatever path it was reached, or the same database
// of the same server, by whatever address.
bool sameStore(const store::ChartStore& a, const store::ChartStore& b);

// Copies every chart of `from`, with its birth data, in stored order, into `to` with one
// store::ChartImport, by an import's rules for names. Throws CopyRefused, or store::Error for either
// store's troubles: nothing is copied then.
Brought copyCharts(const store::ChartStore& from, store::ChartStore& to, bool replace);

// A chart to rename or delete: the one with the key `key`, listed under `name`; or, without a key, the
// first chart stored under `name`.
struct Chosen {
    std::string_view name;
    std::optional<std::int64_t> key;
};

// Renames the chosen chart to `newName`, which may not be empty, or deletes it, in one write; its birth
// data goes with it. None when no chart of that name is stored (for a chart chosen by its name alone);
// else what the store found: Done, NameTaken (the new name is stored already) or Gone (another program
// or desk removed or renamed the chart meanwhile).
std::optional<store::Change> renameChart(store::ChartStore& chartStore, Chosen chart,
                                         std::string_view newName);
std::optional<store::Change> deleteChart(store::ChartStore& chartStore, Chosen chart);

} // namespace charts
