// Start-up: the connection to the chart store (velmorant.mdb in the current folder unless another is
// named), and the main window.
#pragma once

#include "store/ChartStore.h"

#include <string>

namespace form {
struct Database;
}
class Tithi_Vel;

namespace Module1 {

// Names the application, opens the connection `con` on the store `location` names (see
// store::openStore) and shows the main window, which loads itself first. A file that another program
// keeps busy, or a server that is busy or cannot be reached, is said so, with the choice to try again.
// Any other error on the way shows the run-time error box before a window appears, and the program
// ends. Returns once the window is shown; the event loop does the rest.
void Main(const std::string& location = std::string(store::kDefaultConnectionString));

// The shared database objects, for the whole run.
form::Database& database();

// The main window while it is open, or nullptr.
Tithi_Vel* mainWindow();

} // namespace Module1
