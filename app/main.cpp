#include "app/Module1.h"
#include "store/ChartStore.h"
#include "velmorant/Version.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace {

constexpr const char* kUsage =
    "Usage: velmorant [--database STORE] [--help] [--version] [Qt options]\n"
    "\n"
    "Opens the Velmorant window on velmorant.mdb in the current folder (velmorant-start opens it in\n"
    "your data folder and makes the file the first time). The window needs a desktop session.\n"
    "\n"
    "  --database STORE  the chart store: a database file, or a PostgreSQL database shared by\n"
    "                    several desks, as a postgresql:// URI or a libpq connection string\n"
    "                    (\"host=db.example.org dbname=velmorant\", \"service=practice\"); by default\n"
    "                    the one VELMORANT_DATABASE names, or else velmorant.mdb\n"
    "  -h, --help        show this text and exit\n"
    "  -v, --version     show the version and exit\n"
    "\n"
    "The command line's own program is velmorant-cli.\n";

// Qt would abort on a display it cannot reach; with no platform asked for and no display to talk to,
// say so in a line instead.
bool noDesktop(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (!std::strcmp(argv[i], "-platform") || !std::strcmp(argv[i], "--platform"))
            return false;
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    return !set("QT_QPA_PLATFORM") && !set("DISPLAY") && !set("WAYLAND_DISPLAY");
}

// The store --database names (taken out of the arguments, which Qt reads next), or VELMORANT_DATABASE's,
// or else the file velmorant.mdb; none when --database has no value.
std::optional<std::string> takeLocation(int& argc, char** argv) {
    std::optional<std::string> location;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--database") {
            if (i + 1 == argc)
                return std::nullopt;
            location = argv[++i];
        } else if (argument.starts_with("--database=")) {
            location = std::string(argument.substr(std::strlen("--database=")));
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    argv[argc] = nullptr;
    if (location && location->empty())
        return std::nullopt;
    if (!location)
        location = store::environmentLocation();
    return location.value_or(std::string(store::kDefaultConnectionString));
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::fputs(kUsage, stdout);
            return EXIT_SUCCESS;
        }
        if (!std::strcmp(argv[i], "--version") || !std::strcmp(argv[i], "-v")) {
            std::printf("%s %s\n", velmorant::kProductName, velmorant::kProductVersion);
            return EXIT_SUCCESS;
        }
    }
    if (noDesktop(argc, argv)) {
        std::fputs("velmorant: the window needs a desktop session (an X or Wayland display); none was "
                   "found. velmorant-cli works without one.\n",
                   stderr);
        return EXIT_FAILURE;
    }
    const std::optional<std::string> location = takeLocation(argc, argv);
    if (!location) {
        std::fputs("velmorant: --database needs a value: a database file, a postgresql:// URI or a "
                   "connection string.\n",
                   stderr);
        return 2;
    }
    QApplication application(argc, argv);
    Module1::Main(*location);
    return application.exec();
}
