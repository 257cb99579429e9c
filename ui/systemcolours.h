// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

// The system colours that the window's panels are painted in, numbered as Windows numbers them.
enum class SystemColour { ScrollBar = 0, ActiveCaption = 2, InactiveCaption = 3, WindowText = 8 };

// The user's own colour where the system has such colours; elsewhere the usual defaults, so that
// the window looks the same everywhere else.
QColor systemColour(SystemColour index);
