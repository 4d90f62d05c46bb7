#include "cli/Run.h"
#include "cli/Streams.h"

#include <iostream>
#include <unistd.h>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    cli::OutputFile standardOutput(STDOUT_FILENO);
    std::ostream out(&standardOutput);
    return cli::run(argc, argv,
                    {std::cin, out, std::cerr, ::isatty(STDOUT_FILENO) == 1, ::isatty(STDERR_FILENO) == 1});
}
