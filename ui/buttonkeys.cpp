// SPDX-License-Identifier: GPL-3.0-or-later
#include "buttonkeys.h"

#include <QKeyEvent>
#include <QPushButton>

namespace {

class ReturnPresses : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<const QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        // With a modifier the keys belong to the window's own shortcuts.
        if (!enter || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        // A held key presses once, as a held Space does.
        if (!key->isAutoRepeat())
            static_cast<QPushButton *>(watched)->click();
        return true;
    }
};

} // namespace

void pressButtonsOnReturn(QWidget *window)
{
    auto *presses = new ReturnPresses(window);
    for (QPushButton *button : window->findChildren<QPushButton *>())
        button->installEventFilter(presses);
}
