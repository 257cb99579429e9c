// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

// What an item list shows of its names, and in place of them.

// At most this many characters of a name are laid out, drawn or measured: a name of megabytes
// would keep the window busy for seconds, and no screen shows that many characters in one line.
constexpr qsizetype ShownNameLength = 500;

// The name whole, or its start ended with "…", ShownNameLength characters in all. The name itself,
// which the row's id is looked up by, is left alone.
QString shownName(QStringView name);

// The greyed text of a list that the catalogue at that path left without entries: where the
// program looked, and what it found there.
QString emptyItemListText(const QString &cataloguePath);
