// SPDX-License-Identifier: GPL-3.0-or-later
// A program that reads its catalogue as the window does at start-up: tst_catalogue copies it into
// folders with unusual names and runs it there. Prints the names it lists, then "=" and the id
// of the first.

#include "catalogue.h"
#include "programfolder.h"

#include <QStringList>

#include <cstdio>

namespace {

struct ItemList
{
    QStringList names;
    void addItem(const QString &name) { names << name; }
};

} // namespace

int main()
{
    const QString catalogue = cataloguePath();
    const QString section = QStringLiteral("ID");
    ItemList list;
    FillListFromIni(list, catalogue, section);
    QString line = list.names.join(u',') + u'=';
    if (!list.names.isEmpty())
        line += ReadIni(catalogue, section, list.names.first());
    std::fputs(line.toUtf8().constData(), stdout);
    return 0;
}
