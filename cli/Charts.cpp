#include "cli/Charts.h"

#include "almanac/Entries.h"
#include "charts/Exchange.h"
#include "charts/Json.h"
#include "charts/Lines.h"
#include "charts/Operations.h"
#include "charts/Texts.h"
#include "cli/Shown.h"
#include "cli/Store.h"
#include "cli/Streams.h"
#include "sky/Ephemeris.h"
#include "store/ChartStore.h"
#include "store/Error.h"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace cli {

namespace {

constexpr std::string_view kFileTroubleHelp =
    "3 the database file is missing or damaged, or in use by another program past a wait of five seconds\n"
    "(a server: cannot be reached, or busy with another desk's write as long), or standard output cannot\n"
    "be written.";
constexpr std::string_view kReadHelp = "Exit status: 0 done; 2 invalid arguments;\n";
constexpr std::string_view kChangeHelp =
    "Exit status: 0 done; 1 the chart is not stored, or the new name is taken; 2 invalid arguments;\n";

constexpr std::string_view kImportHelp =
    R"(The format comes from FILE's extension, .csv or .json, unless --format gives it.
The columns (CSV, with a header line naming them) or keys (JSON, a list of objects) are those that
charts export writes: name, sun_sign, sun_deg, sun_min, moon_..., ak_..., amk_..., then the birth data
birth_date, birth_time, birth_zone, ayanamsa, karakas, node, empty or left out for a chart without any.
Everything is stored in one write, or nothing: a chart that cannot be taken stops the import with its
line number and what is wrong. A name already stored is skipped, and listed on standard error, unless
--replace is given: then the stored chart and its birth data give way to the one imported.

Exit status: 0 every chart stored; 1 some skipped for their names; 2 invalid arguments or a chart that
cannot be taken, nothing stored; 3 FILE cannot be read or is not a regular file (a folder, a device,
a named pipe), or the database file is missing, damaged or in use by another program past a wait of
five seconds.)";

constexpr std::string_view kCopyHelp =
    R"(SOURCE and TARGET are each a database file or a PostgreSQL database (a postgresql:// URI or a
libpq connection string); TARGET holds Velmorant's tables already (velmorant-initdb makes them).
Every chart of SOURCE is copied with its birth data, in the order stored, in one write on TARGET:
everything or nothing. A name stored in TARGET already is skipped, and listed on standard error,
unless --replace is given: then the stored chart and its birth data give way to the one copied.
What was copied is said on standard output.

Exit status: 0 every chart copied; 1 some skipped for their names; 2 invalid arguments, SOURCE and
TARGET the same store, or a chart of SOURCE that cannot be copied, nothing copied; 3 SOURCE or TARGET
is missing, damaged or cannot be reached, is in use past a wait of five seconds, or refused the write;
nothing copied.)";

struct Arguments {
    StoreChoice store;
    std::string name;
    std::string newName;
    std::string input;
    std::string format;
    std::string output;
    std::string from;
    std::string to;
    bool json = false;
    bool replace = false;
};

std::unique_ptr<store::ChartStore> openDatabase(const Arguments& arguments) {
    return openChosenStore(arguments.store);
}

void tellNotStored(Io io, std::string_view name) {
    io.err << "velmorant-cli: no chart named \"" << shown(name, io.errIsTerminal) << "\" is stored\n";
}

int tellGone(Io io, std::string_view name) {
    io.err << "velmorant-cli: the chart \"" << shown(name, io.errIsTerminal)
           << "\" was removed or renamed by another program meanwhile; nothing was changed\n";
    return kFailure;
}

// Lists on standard error the names an import or a copy skipped, stored already or met twice in
// `source`; the exit status says whether any were.
int tellSkipped(Io io, const charts::Brought& brought, std::string_view source) {
    const auto tell = [&](const std::vector<std::string>& names, std::string_view why) {
        if (names.empty())
            return;
        io.err << "velmorant-cli: skipped " << names.size()
               << (names.size() == 1 ? " chart whose name " : " charts whose names ") << why << ":\n";
        for (const std::string& name : names)
            io.err << shown(name, io.errIsTerminal) << '\n';
    };
    tell(brought.skipped, brought.skipped.size() == 1 ? "is stored already" : "are stored already");
    tell(brought.repeated, std::string(brought.repeated.size() == 1 ? "appears" : "appear") + " twice in " +
                               std::string(source));
    return brought.skipped.empty() && brought.repeated.empty() ? kSuccess : kFailure;
}

int runList(const Arguments& arguments, Io io) {
    const store::ChartIndex names = openDatabase(arguments)->readIndex();
    BlockBuffer buffer(io.out);
    std::ostream out(&buffer);
    if (arguments.json) {
        out << '[';
        for (std::size_t position = 0; position < names.size(); ++position)
            out << (position ? ", " : "") << charts::jsonString(charts::exchangedText(names.name(position)));
        out << "]\n";
    } else {
        for (std::size_t position = 0; position < names.size(); ++position)
            out << shown(names.name(position), io.outIsTerminal) << '\n';
    }
    out.flush();
    return kSuccess;
}

// "Taurus 2°28'"; a value that is not what the window stores is shown as it is, so nothing is hidden.
std::string positionText(const store::Table& row, std::size_t body) {
    const auto value = [&](std::size_t column) {
        const std::string_view name = store::kChartColumns[1 + 3 * body + column];
        const std::optional<std::size_t> at = row.columnOf(name);
        if (!at)
            throw store::Error(store::Errc::UnknownField, name);
        return store::Field(name, row.at(0, *at)).toText();
    };
    const std::string sign = value(0);
    const std::string degrees = value(1);
    const std::string minutes = value(2);
    int position = 0;
    const auto [end, ec] = std::from_chars(sign.data(), sign.data() + sign.size(), position);
    const bool known = ec == std::errc{} && end == sign.data() + sign.size() && position >= 1 &&
                       position <= static_cast<int>(almanac::kSignEntries.size()) - 1;
    return (known ? std::string(almanac::kSignEntries[static_cast<std::size_t>(position)]) : sign) + " " +
           degrees + "°" + (minutes.size() == 1 ? "0" : "") + minutes + "'";
}

int runShow(const Arguments& arguments, Io io) {
    const std::unique_ptr<store::ChartStore> chartStore = openDatabase(arguments);
    const std::optional<std::int64_t> chart = chartStore->findChart(arguments.name);
    const store::Table row = chart ? chartStore->readChart(*chart) : store::Table();
    if (row.rowCount() == 0) {
        tellNotStored(io, arguments.name);
        return kFailure;
    }
    std::string text;
    for (std::size_t body = 0; body < almanac::kBodyCaptions.size(); ++body) {
        const std::string_view caption = almanac::kBodyCaptions[body];
        text.append(caption).append(5 - caption.size(), ' ');
        text += shown(positionText(row, body), io.outIsTerminal) + "\n";
    }
    if (const std::optional<store::BirthData> birth = chartStore->readBirthData(*chart)) {
        text += shown(charts::bornText(*birth) + ", " + charts::choicesText(*birth), io.outIsTerminal) + "\n";
        if (birth->hasPlace())
            text += shown("At " + (birth->place.empty() ? std::string() : birth->place + ", ") +
                              birth->latitude + ", " + birth->longitude,
                          io.outIsTerminal) +
                    "\n";
    }
    io.out << text;
    return kSuccess;
}

int runRename(const Arguments& arguments, Io io) {
    if (arguments.newName.empty())
        throw UsageError("NEW: a chart needs a name; this one is empty");
    const std::optional<store::Change> change =
        charts::renameChart(*openDatabase(arguments), {arguments.name, std::nullopt}, arguments.newName);
    if (!change) {
        tellNotStored(io, arguments.name);
        return kFailure;
    }
    switch (*change) {
    case store::Change::Done:
        return kSuccess;
    case store::Change::NameTaken:
        io.err << "velmorant-cli: " << charts::kDuplicateMessage << '\n';
        return kFailure;
    case store::Change::Gone:
        break;
    }
    return tellGone(io, arguments.name);
}

int runDelete(const Arguments& arguments, Io io) {
    const std::optional<store::Change> change =
        charts::deleteChart(*openDatabase(arguments), {arguments.name, std::nullopt});
    if (!change) {
        tellNotStored(io, arguments.name);
        return kFailure;
    }
    return *change == store::Change::Done ? kSuccess : tellGone(io, arguments.name);
}

charts::Format formatOf(const Arguments& arguments) {
    const std::optional<charts::Format> format = charts::parseFormat(arguments.format);
    if (!format)
        throw UsageError("--format: give csv or json, not \"" + arguments.format + "\"");
    return *format;
}

int runExport(const Arguments& arguments, Io io) {
    std::optional<charts::Format> format;
    if (!arguments.format.empty())
        format = formatOf(arguments);
    else if (!arguments.output.empty())
        format = charts::formatOfPath(arguments.output);
    if (!arguments.output.empty() && !format)
        throw UsageError("--format: " + arguments.output +
                         " ends in neither .csv nor .json; give --format csv or --format json");
    const std::unique_ptr<store::ChartStore> chartStore = openDatabase(arguments);
    if (arguments.output.empty()) {
        // run() checks the writes.
        charts::writeCharts(*chartStore, io.out, format.value_or(charts::Format::Csv));
        return kSuccess;
    }
    try {
        charts::exportCharts(*chartStore, arguments.output, *format);
    } catch (const std::filesystem::filesystem_error& e) {
        throw FileError("cannot write " + arguments.output + ": " + e.code().message());
    }
    return kSuccess;
}

int runImport(const Arguments& arguments, Io io) {
    const bool standardInput = arguments.input == "-";
    std::optional<charts::Format> format;
    if (!arguments.format.empty())
        format = formatOf(arguments);
    else if (!standardInput)
        format = charts::formatOfPath(arguments.input);
    if (!format && standardInput)
        throw UsageError("--format: give csv or json for standard input");
    if (!format)
        throw UsageError("--format: " + arguments.input +
                         " ends in neither .csv nor .json; give --format csv or --format json");

    // A mebibyte at a time: a million charts are read in a few dozen reads.
    std::vector<char> block(std::size_t{1} << 20);
    std::ifstream file;
    file.rdbuf()->pubsetbuf(block.data(), static_cast<std::streamsize>(block.size()));
    const std::string inputName = standardInput ? "standard input" : shown(arguments.input, io.errIsTerminal);
    if (!standardInput) {
        // A folder, a device or a pipe by name is refused before it is opened: a pipe would wait for a
        // writer, a device might never end.
        struct stat status {};
        if (::stat(arguments.input.c_str(), &status) == 0 && !S_ISREG(status.st_mode))
            throw FileError("cannot read " + inputName +
                            (S_ISDIR(status.st_mode) ? ": it is a folder, not a regular file"
                                                     : ": it is not a regular file"));
        file.open(arguments.input, std::ios::binary);
        if (!file)
            throw FileError("cannot read " + inputName + ": " + std::strerror(errno));
    }
    std::istream& in = standardInput ? io.in : file;
    startReading(in, inputName);

    const std::unique_ptr<store::ChartStore> chartStore = openDatabase(arguments);
    std::optional<sky::Ephemeris> ephemeris; // read at the first chart with birth data
    charts::Brought brought;
    try {
        brought = charts::importCharts(*chartStore, in, *format, arguments.replace, [&]() -> sky::Ephemeris& {
            if (!ephemeris)
                ephemeris.emplace();
            return *ephemeris;
        });
    } catch (const charts::ReadError& e) {
        io.err << "velmorant-cli: " << inputName << ": " << shownMessage(e.what(), io.errIsTerminal)
               << "; nothing was stored\n";
        return kUsage;
    } catch (const charts::InputFailed& e) {
        throw FileError("cannot read " + inputName + ": " + e.code().message());
    }
    return tellSkipped(io, brought, "the file");
}

int runCopy(const Arguments& arguments, Io io) {
    const std::unique_ptr<store::ChartStore> from = store::openStore(arguments.from);
    const std::unique_ptr<store::ChartStore> to = store::openStore(arguments.to);
    charts::Brought brought;
    try {
        brought = charts::copyCharts(*from, *to, arguments.replace);
    } catch (const charts::CopyRefused& e) {
        io.err << "velmorant-cli: " << shownMessage(e.what(), io.errIsTerminal) << "; nothing was copied\n";
        return kUsage;
    }
    std::string said = "Copied " + std::to_string(brought.stored) +
                       (brought.stored == 1 ? " chart" : " charts") + " from " +
                       shown(from->where(), io.outIsTerminal) + " to " + shown(to->where(), io.outIsTerminal);
    const auto skipped = [&](std::size_t count, std::string_view why) {
        if (count > 0)
            said += "; " + std::to_string(count) + " skipped, " +
                    (count == 1 ? "its name " : "their names ") + std::string(why);
    };
    skipped(brought.skipped.size(), "stored already");
    skipped(brought.repeated.size(), "repeated in the source");
    io.out << said << ".\n";
    return tellSkipped(io, brought, "the source");
}

using Runner = int (*)(const Arguments&, Io);

CLI::App* addSubcommand(CLI::App& parent, const char* name, const char* description, Runner runner,
                        std::string_view footer, const std::shared_ptr<Arguments>& arguments, Io io,
                        int& status) {
    CLI::App* command = parent.add_subcommand(name, description);
    addStoreOptions(*command, arguments->store);
    command->footer(std::string(footer));
    command->callback([runner, arguments, io, &status] { status = runner(*arguments, io); });
    return command;
}

} // namespace

void addChartsCommand(CLI::App& app, Io io, int& status) {
    CLI::App* command =
        app.add_subcommand("charts", "The stored charts of a database file or a server: list, "
                                     "show, rename, delete, export, import and copy them.");
    command->require_subcommand(1);
    const auto arguments = std::make_shared<Arguments>();

    CLI::App* list =
        addSubcommand(*command, "list",
                      "The names of the stored charts, one a line, in the order "
                      "they were stored.",
                      runList, std::string(kReadHelp) + std::string(kFileTroubleHelp), arguments, io, status);
    list->add_flag("--json", arguments->json,
                   "Write one JSON array of the names instead (for names holding line breaks)");

    CLI::App* show = addSubcommand(*command, "show",
                                   "The four positions of a stored chart, and its birth data "
                                   "when it has some.",
                                   runShow, std::string(kChangeHelp) + std::string(kFileTroubleHelp),
                                   arguments, io, status);
    show->add_option("NAME", arguments->name, "The chart's name, exactly as stored")->required();

    CLI::App* rename =
        addSubcommand(*command, "rename", "Renames a stored chart; its birth data stays with it.", runRename,
                      std::string(kChangeHelp) + std::string(kFileTroubleHelp), arguments, io, status);
    rename->add_option("OLD", arguments->name, "The chart's name, exactly as stored")->required();
    rename->add_option("NEW", arguments->newName, "Its new name, not yet stored")->required();

    CLI::App* remove =
        addSubcommand(*command, "delete", "Deletes a stored chart and its birth data.", runDelete,
                      std::string(kChangeHelp) + std::string(kFileTroubleHelp), arguments, io, status);
    remove->add_option("NAME", arguments->name, "The chart's name, exactly as stored")->required();

    CLI::App* exporting = addSubcommand(
        *command, "export",
        "Writes every stored chart, with its birth data, to standard output or to the file --output "
        "names.",
        runExport,
        "The columns: name, sun_sign, sun_deg, sun_min, moon_..., ak_..., amk_..., "
        "birth_date,\nbirth_time, birth_zone, ayanamsa, karakas, node.\n"
        "A file --output names appears whole or not at all, replacing any file of that name.\n\n"
        "Exit status: 0 done; 2 invalid arguments;\n"
        "3 the file --output names, or standard output, cannot be written, or the database file is\n"
        "missing or damaged, or in use by another program past a wait of five seconds.",
        arguments, io, status);
    exporting
        ->add_option("--format", arguments->format,
                     "csv or json; by default from --output's extension, else csv")
        ->check(CLI::IsMember({"csv", "json"}, CLI::ignore_case));
    exporting->add_option("--output", arguments->output, "The file to write, instead of standard output");

    CLI::App* importing = addSubcommand(*command, "import",
                                        "Stores the charts of a CSV or JSON file, with their "
                                        "birth data, all in one write.",
                                        runImport, kImportHelp, arguments, io, status);
    importing->add_option("FILE", arguments->input, "The file to read; - for standard input, with --format")
        ->required();
    importing->add_option("--format", arguments->format, "csv or json; by default from FILE's extension")
        ->check(CLI::IsMember({"csv", "json"}, CLI::ignore_case));
    importing->add_flag("--replace", arguments->replace,
                        "Overwrite a stored chart of the same name instead of skipping the imported one");

    // Two stores, so none of the others' --file and --database.
    CLI::App* copying = command->add_subcommand(
        "copy",
        "Copies every stored chart, with its birth data, from one store into another, all in one write.");
    copying->footer(std::string(kCopyHelp));
    copying->add_option("--from", arguments->from, "SOURCE: the store to copy from")->required();
    copying->add_option("--to", arguments->to, "TARGET: the store to copy into")->required();
    copying->add_flag("--replace", arguments->replace,
                      "Overwrite a stored chart of the same name instead of skipping the copied one");
    copying->callback([arguments, io, &status] { status = runCopy(*arguments, io); });
}

} // namespace cli
