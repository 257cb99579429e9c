// SPDX-License-Identifier: GPL-3.0-or-later
#include "systemcolours.h"

// Windows' default colours, the ones the window was designed in.
QColor systemColour(SystemColour index)
{
    switch (index) {
    case SystemColour::ScrollBar:
        return QColor(200, 200, 200);
    case SystemColour::ActiveCaption:
        return QColor(153, 180, 209);
    case SystemColour::InactiveCaption:
        return QColor(191, 205, 219);
    case SystemColour::WindowText:
        break;
    }
    return QColor(0, 0, 0);
}
