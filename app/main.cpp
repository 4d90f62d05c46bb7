#include "app/Module1.h"
#include "velmorant/Version.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* kUsage =
    "Usage: velmorant [--help] [--version] [Qt options]\n"
    "\n"
    "Opens the Velmorant window on velmorant.mdb in the current folder (velmorant-start opens it in\n"
    "your data folder and makes the file the first time). The window needs a desktop session.\n"
    "\n"
    "  -h, --help     show this text and exit\n"
    "  -v, --version  show the version and exit\n"
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
    QApplication application(argc, argv);
    Module1::Main();
    return application.exec();
}
