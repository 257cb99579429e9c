// SPDX-License-Identifier: GPL-3.0-or-later
#include "systemcolours.h"

#include <windows.h>

// The colours of the user's Windows, as its display settings give them.
QColor systemColour(SystemColour index)
{
    const DWORD c = GetSysColor(int(index));
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}
