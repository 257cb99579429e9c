// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

// The window icon, 252 x 252, opaque, as drawn by makeicon. A null image when the resource is not
// linked into the program.
QImage quennelIcon();
