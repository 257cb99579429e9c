// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <initializer_list>

QT_BEGIN_NAMESPACE
class QWidget;
QT_END_NAMESPACE

// Lets a screen reader tell what the window's plain widgets are: the window itself a frame, the
// options panel a group, announced by its name when the focus enters it. Safe to call more than
// once.
void installWindowAccessibility();

// Tells a screen reader that these controls have just joined their window, or are about to leave
// it (call before deleting them): the toolkit says nothing when a control is made or deleted,
// so a row added or removed went unnoticed.
void announceJoined(std::initializer_list<QWidget *> controls);
void announceLeaving(std::initializer_list<QWidget *> controls);
