// The running program as the guard sees it: the run-time error box, and the end of the program.
#pragma once

#include "form/Guard.h"

#include <functional>

namespace app {

// The program's one Shell. Handlers run under form::guarded(app::shell(), ...).
form::Shell& shell();

// What ending the program means: by default, leave the process with the status. Tests put a stand-in
// here that throws form::ProgramEnded. Returns the previous one.
using Ending = std::function<void(int status)>;
Ending setEnding(Ending ending);

} // namespace app
