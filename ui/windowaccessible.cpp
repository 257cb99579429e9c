// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowaccessible.h"
#include "resultnotice.h"

#include <QAccessibleWidget>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

// The window's own controls, then the notices it tells of.
class WindowAccessible : public QAccessibleWidget
{
public:
    explicit WindowAccessible(QWidget *window)
        : QAccessibleWidget(window, QAccessible::Window)
    { }

    int childCount() const override
    {
        return QAccessibleWidget::childCount() + int(notices().size());
    }
    QAccessibleInterface *child(int index) const override
    {
        const int controls = QAccessibleWidget::childCount();
        if (index < controls)
            return QAccessibleWidget::child(index);
        const QList<ResultNotice *> all = notices();
        return index - controls < all.size()
                ? QAccessible::queryAccessibleInterface(all.at(index - controls))
                : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const qsizetype notice
                = child ? notices().indexOf(qobject_cast<ResultNotice *>(child->object())) : -1;
        return notice < 0 ? QAccessibleWidget::indexOfChild(child)
                          : QAccessibleWidget::childCount() + int(notice);
    }

private:
    QList<ResultNotice *> notices() const
    {
        return widget()->findChildren<ResultNotice *>(Qt::FindDirectChildrenOnly);
    }
};

QAccessibleInterface *windowFactory(const QString &className, QObject *object)
{
    if (auto *notice = qobject_cast<ResultNotice *>(object))
        return accessibleResultNotice(notice);
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget)
        return nullptr;
    if (className == "Form1"_L1)
        return new WindowAccessible(widget);
    if (className == "QWidget"_L1 && object->objectName() == "Picture1"_L1)
        return new QAccessibleWidget(widget, QAccessible::Grouping);
    return nullptr;
}

void announce(QObject *control, QAccessible::Event change)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent event(control, change);
    QAccessible::updateAccessibility(&event);
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
    for (QWidget *control : controls)
        announce(control, QAccessible::ObjectCreated);
}

void announceLeaving(std::initializer_list<QWidget *> controls)
{
    for (QWidget *control : controls)
        announce(control, QAccessible::ObjectDestroyed);
}
