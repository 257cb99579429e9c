// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowaccessible.h"

#include <QAccessibleWidget>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

QAccessibleInterface *windowFactory(const QString &className, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget)
        return nullptr;
    if (className == "Form1"_L1)
        return new QAccessibleWidget(widget, QAccessible::Window);
    if (className == "QWidget"_L1 && object->objectName() == "Picture1"_L1)
        return new QAccessibleWidget(widget, QAccessible::Grouping);
    return nullptr;
}

void announce(std::initializer_list<QWidget *> controls, QAccessible::Event change)
{
    if (!QAccessible::isActive())
        return;
    for (QWidget *control : controls) {
        QAccessibleEvent event(control, change);
        QAccessible::updateAccessibility(&event);
    }
}

} // namespace

void installWindowAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(windowFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void announceJoined(std::initializer_list<QWidget *> controls)
{
    announce(controls, QAccessible::ObjectCreated);
}

void announceLeaving(std::initializer_list<QWidget *> controls)
{
    announce(controls, QAccessible::ObjectDestroyed);
}
