#pragma once

#include <functional>

class QWidget;

namespace quorvane {

// The whole program: settings, tray, stock list, the main window shown
// centred, and the event loop until the user confirms the exit. onShown runs
// once the window is first on screen (used by the start-up measurement).
int RunApplication(int &argc, char **argv, const std::function<void(QWidget *)> &onShown = {});

} // namespace quorvane
