// SPDX-License-Identifier: GPL-3.0-or-later
#include "focusring.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>

ControlRing::ControlRing(QWidget *window, int gap)
    : QFocusFrame(window)
    , m_gap(gap)
{
    hide(); // until it has a control to ring
}

void ControlRing::surround(QWidget *control)
{
    if (m_control)
        m_control->removeEventFilter(this);
    m_control = control;
    if (!control) {
        hide();
        return;
    }
    control->installEventFilter(this);
    fit();
}

bool ControlRing::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_control)
        return false;
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::ParentChange:
    case QEvent::ZOrderChange:
        fit();
        break;
    case QEvent::Destroy:
        surround(nullptr);
        break;
    default:
        break;
    }
    return false;
}

// Beside its control in the same container, Gap + Width pixels out all round, shown while the
// control shows.
void ControlRing::fit()
{
    QWidget *target = m_control;
    if (!target || !target->parentWidget())
        return;
    if (parentWidget() != target->parentWidget())
        setParent(target->parentWidget());
    const int out = m_gap + Width;
    setGeometry(target->geometry().adjusted(-out, -out, out, out));
    const QRect local = rect();
    setMask(QRegion(local) - QRegion(local.adjusted(Width, Width, -Width, -Width)));
    stack();
    setVisible(!target->isHidden());
}

void ControlRing::paintEvent(QPaintEvent * /*event*/)
{
    QPainter painter(this);
    painter.fillRect(rect(), colour());
}

FocusRing::FocusRing(QWidget *window)
    : ControlRing(window, 0)
    , m_window(window)
{
    setObjectName(QStringLiteral("FocusRing"));
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget * /*old*/, QWidget *now) { follow(now); });
}

QColor FocusRing::colour() const
{
    return parentWidget()->palette().color(QPalette::WindowText);
}

// Focus that leaves for another window (a message box, an open item list) leaves the ring on
// the control that gets it back.
void FocusRing::follow(QWidget *focused)
{
    if (!focused || focused->window() != m_window || focused == m_window)
        return;
    surround(focused);
}
