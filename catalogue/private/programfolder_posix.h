// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// cataloguePath() for the program file that programLink names; cataloguePath() takes the system's
// own link to the running program, /proc/self/exe. Without a link that names an absolute path,
// a null text.
QString cataloguePath(const char *programLink);
