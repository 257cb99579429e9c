// SPDX-License-Identifier: GPL-3.0-or-later
#include "focusring.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>

FocusRing::FocusRing(QWidget *window)
    : QFocusFrame(window)
    , m_window(window)
{
    setObjectName(QStringLiteral("FocusRing"));
    hide(); // until a control of the window has the focus
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget * /*old*/, QWidget *now) { follow(now); });
}

// Focus that leaves for another window (a message box, an open item list) leaves the ring on
// the control that gets it back.
void FocusRing::follow(QWidget *focused)
{
    if (!focused || focused->window() != m_window || focused == m_window)
        return;
    setWidget(focused);
    fit();
}

bool FocusRing::eventFilter(QObject *watched, QEvent *event)
{
    const bool handled = QFocusFrame::eventFilter(watched, event);
    if (watched == widget()) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::ParentChange:
        case QEvent::ZOrderChange:
            fit();
            break;
        default:
            break;
        }
    }
    return handled;
}

// The style would size and stack the frame by its own measures, under the control; the ring is
// always Width pixels wide and in front, so that no neighbour hides part of it.
void FocusRing::fit()
{
    const QWidget *target = widget();
    if (!target || !parentWidget())
        return;
    const QPoint at = target->parentWidget()->mapTo(parentWidget(), target->pos());
    const QRect outer = QRect(at, target->size()).adjusted(-Width, -Width, Width, Width);
    setGeometry(outer);
    const QRect local = rect();
    setMask(QRegion(local) - QRegion(local.adjusted(Width, Width, -Width, -Width)));
    raise();
}

void FocusRing::paintEvent(QPaintEvent * /*event*/)
{
    QPainter painter(this);
    painter.fillRect(rect(), parentWidget()->palette().color(QPalette::WindowText));
}
