#include "cli/Run.h"

#include "cli/Calc.h"
#include "cli/Charts.h"
#include "cli/Positions.h"
#include "store/Error.h"
#include "velmorant/Version.h"

#include <CLI/CLI.hpp>
#include <ostream>
#include <string>

namespace cli {

int run(int argc, const char* const* argv, Io io) {
    CLI::App app("Velmorant, calculator for the Hindu lunar almanac: the command line.", "velmorant-cli");
    app.set_version_flag("--version", std::string(velmorant::kProductVersion));
    app.require_subcommand(1);
    app.footer(
        "Exit status: 0 done; 1 some input skipped, or the work could not be done; 2 invalid arguments;\n"
        "3 the database file, or a file to read, cannot be used.");

    int status = kSuccess;
    addPositionsCommand(app, io, status);
    addCalcCommand(app, io, status);
    addChartsCommand(app, io, status);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // Help and version are "errors" with status 0; everything else CLI11 refuses is a usage error.
        return app.exit(e, io.out, io.err) == 0 ? kSuccess : kUsage;
    } catch (const UsageError& e) {
        io.err << "velmorant-cli: " << e.what() << '\n';
        return kUsage;
    } catch (const FileError& e) {
        io.err << "velmorant-cli: " << e.what() << '\n';
        return kFileTrouble;
    } catch (const store::Error& e) {
        io.err << "velmorant-cli: " << e.what() << '\n';
        return kFileTrouble;
    } catch (const std::exception& e) {
        io.err << "velmorant-cli: " << e.what() << '\n';
        return kFailure;
    }
    return status;
}

} // namespace cli
