// SPDX-License-Identifier: GPL-3.0-or-later
#include "faultmark.h"

#include "resultnotice.h"

#include <QLineEdit>

using namespace Qt::StringLiterals;

FaultMark::FaultMark(QWidget *window)
    : ControlRing(window, FocusRing::Width)
    , m_notice(new ResultNotice(u"Error"_s, window))
{
    setObjectName(u"FaultMark"_s);
}

void FaultMark::mark(QLineEdit *box)
{
    clear();
    if (!box)
        return;
    surround(box);
    m_changed = connect(box, &QLineEdit::textChanged, this, &FaultMark::clear);
    m_gone = connect(box, &QObject::destroyed, this, &FaultMark::clear);
    m_notice->tell(box->accessibleName());
}

void FaultMark::clear()
{
    disconnect(m_changed);
    disconnect(m_gone);
    surround(nullptr);
    m_notice->withdraw();
}

void FaultMark::stack()
{
    if (control())
        stackUnder(control());
}
