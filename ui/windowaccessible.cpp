// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowaccessible.h"

#include <QAccessibleObject>
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

class ResultNoticeAccessible : public QAccessibleObject
{
public:
    explicit ResultNoticeAccessible(ResultNotice *notice)
        : QAccessibleObject(notice)
    { }

    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(object()->parent());
    }
    QAccessibleInterface *child(int /*index*/) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface * /*child*/) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name:
            return notice()->name();
        case QAccessible::Description:
            return notice()->text();
        default:
            return QString();
        }
    }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.invisible = !notice()->isShown();
        s.readOnly = true;
        return s;
    }

private:
    ResultNotice *notice() const { return static_cast<ResultNotice *>(object()); }
};

QAccessibleInterface *windowFactory(const QString &className, QObject *object)
{
    if (className == "ResultNotice"_L1)
        return new ResultNoticeAccessible(static_cast<ResultNotice *>(object));
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

ResultNotice::ResultNotice(const QString &name, QWidget *window)
    : QObject(window)
    , m_name(name)
{
    setObjectName(name);
}

void ResultNotice::tell(const QString &text)
{
    withdraw();
    if (text.isEmpty())
        return;
    m_text = text;
    m_shown = true;
    announce(this, QAccessible::ObjectShow);
}

void ResultNotice::withdraw()
{
    if (!m_shown)
        return;
    m_shown = false;
    m_text.clear();
    announce(this, QAccessible::ObjectHide);
}
