// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFocusFrame>
#include <QPointer>

// A ring Width pixels wide around one control of a window, Gap pixels out from the control's
// edge. The control keeps its own colours, size and place; the ring only adds a mark around it,
// follows it when it moves and hides with it. A focus frame, so that screen readers pass over it
// as they pass over the style's own; it follows its control itself, as a focus frame that follows
// one keeps it at the style's own distance.
class ControlRing : public QFocusFrame
{
public:
    static constexpr int Width = 2;

    ControlRing(QWidget *window, int gap);

    // Rings that control from now on; nullptr rings none.
    void surround(QWidget *control);
    QWidget *control() const { return m_control; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

    virtual QColor colour() const = 0;
    // Where the ring lies in its container's stacking order once it is placed.
    virtual void stack() = 0;

private:
    void fit();

    QPointer<QWidget> m_control;
    int m_gap;
};

// The ring just outside whichever control of one window has the keyboard focus, in the ground's
// own text colour and in front of everything around it, so that no neighbour hides part of it:
// the style's faint focus border is easily missed.
class FocusRing : public ControlRing
{
public:
    explicit FocusRing(QWidget *window);

protected:
    QColor colour() const override;
    void stack() override { raise(); }

private:
    void follow(QWidget *focused);

    QWidget *m_window;
};
