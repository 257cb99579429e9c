// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFocusFrame>

// A 2-pixel ring just outside whichever control of one window has the keyboard focus, drawn in
// front of everything around it in the ground's own text colour. The controls keep their own
// colours, sizes and places; the ring only adds a mark the style's faint focus border lacks.
// A focus frame, so that screen readers pass over it as they pass over the style's own.
class FocusRing : public QFocusFrame
{
public:
    static constexpr int Width = 2;

    explicit FocusRing(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void follow(QWidget *focused);
    void fit();

    QWidget *m_window;
};
