#pragma once

#include <QIcon>

namespace quorvane {

// The program's icon, drawn from the SVG compiled into the library, for the
// window and the notification area.
QIcon AppIcon();

} // namespace quorvane
