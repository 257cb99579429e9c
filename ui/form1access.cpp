// SPDX-License-Identifier: GPL-3.0-or-later
// What lets the keyboard alone, and a screen reader, do the whole job: no focus stop on a box
// nobody can see, the options panel keeping the focus while it is shown, Return on buttons and
// a visible focus ring.
#include "form1.h"

#include "buttonkeys.h"
#include "focusring.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QScrollBar>

void Form1::setUpAccess()
{
    new FocusRing(this);
    pressButtonsOnReturn(this);
    updateBuyingPriceFocus();
}

// A buying price box under its visible generated price box takes no focus: the keyboard would
// type into a box nobody can see, and the hint would be gone by the time it shows again.
void Form1::updateBuyingPriceFocus()
{
    for (const auto &[row, buying] : m_rows.array(Column::BuyingPrice)) {
        const QWidget *generated = m_rows.row(row)[Column::GeneratedBuyingPrice];
        const bool covered = generated && !generated->isHidden();
        buying->setFocusPolicy(covered ? Qt::NoFocus : Qt::StrongFocus);
    }
}

// While the options panel is shown it covers rows and buttons behind it: Tab and Shift+Tab go
// round its own controls only, in the window's tab order.
bool Form1::focusNextPrevChild(bool next)
{
    if (m_picture1->isHidden())
        return QWidget::focusNextPrevChild(next);
    QWidget *from = focusWidget() ? focusWidget() : this;
    const auto step = [next](QWidget *w) {
        return next ? w->nextInFocusChain() : w->previousInFocusChain();
    };
    // The chain is a ring through every widget of the window, so the walk ends where it began.
    for (QWidget *w = step(from); w != from; w = step(w)) {
        if (m_picture1->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus
            && w->isVisible() && w->isEnabled()) {
            w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return true;
}
