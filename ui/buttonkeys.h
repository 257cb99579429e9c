// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

QT_BEGIN_NAMESPACE
class QWidget;
QT_END_NAMESPACE

// Return and Enter press the focused push button of the window, as Space does. The toolkit
// leaves that to dialogs' default buttons, so on a plain window the keys did nothing.
void pressButtonsOnReturn(QWidget *window);
