// SPDX-License-Identifier: GPL-3.0-or-later
#include "faultmark.h"

#include "resultnotice.h"

#include <QLineEdit>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

double FaultMark::contrast(QRgb a, QRgb b)
{
    const auto luminance = [](QRgb rgb) {
        double sum = 0.05;
        for (const auto &[value, weight] :
             {std::pair{qRed(rgb), 0.2126}, {qGreen(rgb), 0.7152}, {qBlue(rgb), 0.0722}}) {
            const double c = value / 255.0;
            sum += weight * (c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
        }
        return sum;
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return std::max(la, lb) / std::min(la, lb);
}

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

// The mark's own red where it stands out from the ground it lies on; on another ground the deep
// or the pale red, whichever stands out more.
QColor FaultMark::colour() const
{
    const QRgb ground = parentWidget()->palette().color(QPalette::Window).rgb();
    if (contrast(Colour, ground) >= 3.0)
        return QColor::fromRgb(Colour);
    return QColor::fromRgb(
            contrast(DeepColour, ground) >= contrast(PaleColour, ground) ? DeepColour : PaleColour);
}

void FaultMark::stack()
{
    if (control())
        stackUnder(control());
}
