// SPDX-License-Identifier: GPL-3.0-or-later
#include "itemlistaccessible.h"

#include <QAccessibleWidget>
#include <QComboBox>

using namespace Qt::StringLiterals;

namespace {

// Where the toolkit names a drop-down list after its current entry, it leaves saying which list
// it is to a label next to it. The rows' item lists have no label of their own, so they report
// their accessible name as the name and the chosen entry as the value.
class ItemListAccessible : public QAccessibleWidget
{
public:
    explicit ItemListAccessible(QComboBox *list)
        : QAccessibleWidget(list, QAccessible::ComboBox)
    { }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return static_cast<const QComboBox *>(widget())->currentText();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *itemListFactory(const QString &className, QObject *object)
{
    if (className == "QComboBox"_L1 && object && object->objectName().startsWith("Combo1_"_L1))
        return new ItemListAccessible(static_cast<QComboBox *>(object));
    return nullptr;
}

} // namespace

void installItemListAccessibility()
{
#ifdef Q_OS_UNIX
    static const bool installed = [] {
        QAccessible::installFactory(itemListFactory);
        return true;
    }();
    Q_UNUSED(installed);
#endif
}
