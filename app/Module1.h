#pragma once

namespace Module1 {

// Start-up: prepares the application and shows the main window. Returns once the window is shown.
void Main();

} // namespace Module1
