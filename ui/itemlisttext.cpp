// SPDX-License-Identifier: GPL-3.0-or-later
#include "itemlisttext.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

QString shownName(QStringView name)
{
    if (name.size() <= ShownNameLength)
        return name.toString();
    qsizetype kept = ShownNameLength - 1;
    // A character outside the first plane is two code units: it goes whole or not at all.
    if (name.at(kept - 1).isHighSurrogate())
        --kept;
    return name.first(kept).toString() + u'…';
}

QString emptyItemListText(const QString &cataloguePath)
{
    if (cataloguePath.isEmpty())
        return u"No items: the program's folder is unknown"_s;
    const QFileInfo file(cataloguePath);
    const QString folder = QDir::toNativeSeparators(file.path());
    if (!file.exists())
        return u"No items: no id.txt in %1"_s.arg(folder);
    if (!file.isFile() || !file.isReadable())
        return u"No items: id.txt in %1 cannot be read"_s.arg(folder);
    return u"No items under [ID] in id.txt in %1"_s.arg(folder);
}
