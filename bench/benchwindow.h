// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>

// A control of the window by its name; a benchmark without it would measure nothing.
template<class Widget>
Widget *control(const QWidget &window, const QString &name)
{
    auto *widget = window.findChild<Widget *>(name);
    if (!widget)
        qFatal("the window has no %s", qPrintable(name));
    return widget;
}
