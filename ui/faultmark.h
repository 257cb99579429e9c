// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "focusring.h"

QT_BEGIN_NAMESPACE
class QLineEdit;
QT_END_NAMESPACE

class ResultNotice;

// The box whose text "Generate" could not use, marked for the eye by a red ring just outside
// where the focus ring would lie, and told to a screen reader as the notice "Error" naming the
// box, since the focus may go to another control, where the fault is fixed. The mark lasts until
// the box's text next changes, the box goes with its row, or clear() is called.
class FaultMark : public ControlRing
{
public:
    // Dark enough to stand out by 3:1 from the window's usual grounds and the options panel's.
    static constexpr QRgb Colour = 0xffaa0000;
    // For grounds that Colour does not stand out from: on Windows the grounds are the user's own
    // system colours, which may be of any shade.
    static constexpr QRgb DeepColour = 0xff660000;
    static constexpr QRgb PaleColour = 0xffffb3b3;

    // How far apart two colours stand for the eye, from 1:1 to 21:1, as the web's accessibility
    // guidelines measure it.
    static double contrast(QRgb a, QRgb b);

    explicit FaultMark(QWidget *window);

    void mark(QLineEdit *box);
    void clear();

protected:
    QColor colour() const override;
    // With its box, so that whatever covers the box (the options panel) covers the mark too.
    void stack() override;

private:
    ResultNotice *m_notice;
    QMetaObject::Connection m_changed;
    QMetaObject::Connection m_gone;
};
