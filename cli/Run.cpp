#include "cli/Run.h"

#include "cli/Calc.h"
#include "cli/Charts.h"
#include "cli/Panchanga.h"
#include "cli/Positions.h"
#include "cli/Shown.h"
#include "cli/Streams.h"
#include "store/Error.h"
#include "velmorant/Version.h"

#include <CLI/CLI.hpp>
#include <csignal>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>

namespace cli {

namespace {

// What a shell reports for a program that a closed pipe ended (128 + SIGPIPE).
constexpr int kReaderLeft = 128 + SIGPIPE;

// "positions, panchanga, calc and charts"
std::string commandList(const CLI::App& app) {
    const auto commands = app.get_subcommands([](const CLI::App*) { return true; });
    std::string list;
    for (std::size_t at = 0; at < commands.size(); ++at)
        list += (at == 0 ? "" : at + 1 == commands.size() ? " and " : ", ") + commands[at]->get_name();
    return list;
}

// A word given where a command was expected that names none: "frob" in "velmorant-cli charts frob".
std::optional<std::string> unknownCommand(CLI::App& app, bool terminal) {
    CLI::App* at = &app;
    while (!at->get_subcommands().empty())
        at = at->get_subcommands().front();
    const std::vector<std::string> left = at->remaining();
    if (at->get_require_subcommand_min() == 0 || left.empty() || left.front().starts_with('-'))
        return std::nullopt;
    return "\"" + shown(left.front(), terminal) + "\" is not a command of " + at->get_name() +
           "; the commands are " + commandList(*at);
}

// Standard output written out and closed. A failure ends the program with one line naming it and
// status 3; a reader that left the pipe early (`| head`) ends it quietly, as SIGPIPE would.
int finish(int status, Io io) {
    io.out.flush();
    std::error_code error;
    if (auto* const file = dynamic_cast<OutputFile*>(io.out.rdbuf()))
        error = file->close();
    else if (!io.out)
        error = std::make_error_code(std::errc::io_error);
    if (!error)
        return status;
    if (error == std::errc::broken_pipe)
        return kReaderLeft;
    io.err << "velmorant-cli: cannot write to standard output: " << error.message() << '\n';
    return kFileTrouble;
}

int runCommand(int argc, const char* const* argv, Io io) {
    CLI::App app("Velmorant, calculator for the Hindu lunar almanac: the command line.", "velmorant-cli");
    app.set_version_flag("--version", std::string(velmorant::kProductVersion));
    app.require_subcommand(1);
    app.footer("Exit status: 0 done; 1 some input skipped, or the work could not be done; 2 invalid "
               "arguments\nor a line longer than 1 MiB; 3 the database file, or a file to read or write "
               "(standard output\nincluded), cannot be used.");

    int status = kSuccess;
    addPositionsCommand(app, io, status);
    addPanchangaCommand(app, io, status);
    addCalcCommand(app, io, status);
    addChartsCommand(app, io, status);

    const auto tell = [&](const std::exception& e, int code) {
        io.err << "velmorant-cli: " << shownMessage(e.what(), io.errIsTerminal) << '\n';
        return code;
    };
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (const std::optional<std::string> unknown = unknownCommand(app, io.errIsTerminal)) {
            io.err << "velmorant-cli: " << *unknown << '\n';
            return kUsage;
        }
        // Help and version are "errors" with status 0; everything else CLI11 refuses is a usage error.
        std::ostringstream said;
        const int exit = app.exit(e, io.out, said);
        io.err << shownMessage(said.str(), io.errIsTerminal);
        return exit == 0 ? kSuccess : kUsage;
    } catch (const OutputLost&) {
        return kFileTrouble; // finish() says why
    } catch (const UsageError& e) {
        return tell(e, kUsage);
    } catch (const FileError& e) {
        return tell(e, kFileTrouble);
    } catch (const store::Error& e) {
        return tell(e, kFileTrouble);
    } catch (const std::exception& e) {
        return tell(e, kFailure);
    }
    return status;
}

} // namespace

int run(int argc, const char* const* argv, Io io) {
    return finish(runCommand(argc, argv, io), io);
}

} // namespace cli
