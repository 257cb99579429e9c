// SPDX-License-Identifier: GPL-3.0-or-later
#include "resultnotice.h"

#include <QAccessible>
#include <QAccessibleObject>
#include <QWidget>

namespace {

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

void announce(ResultNotice *notice, QAccessible::Event change)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent event(notice, change);
    QAccessible::updateAccessibility(&event);
}

} // namespace

QAccessibleInterface *accessibleResultNotice(ResultNotice *notice)
{
    return new ResultNoticeAccessible(notice);
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
