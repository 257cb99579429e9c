// SPDX-License-Identifier: GPL-3.0-or-later
// The keys for the window's commands: each clicks its button, and its tooltip and accessible
// description name it.
#include "form1.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QWidget>

using namespace Qt::StringLiterals;

// A key clicks its button, so it does exactly what the button does, within the same limits, and
// one press is one click. A focused control that uses the key keeps it, and so does an open popup.
void Form1::setUpShortcuts()
{
    const auto name = [](QPushButton *button, const QKeySequence &key) {
        const QString text = key.toString(QKeySequence::NativeText);
        button->setToolTip(button->accessibleName() + u" ("_s + text + u')');
        button->setAccessibleDescription(text);
    };
    const auto bind = [name](QPushButton *button, const QList<QKeySequence> &keys) {
        auto *shortcut = new QShortcut(button);
        shortcut->setKeys(keys);
        shortcut->setAutoRepeat(false);
        QObject::connect(shortcut, &QShortcut::activated, button, &QPushButton::click);
        name(button, keys.first());
    };
    bind(m_command6, {Qt::CTRL | Qt::SHIFT | Qt::Key_C});
    bind(m_command1, {Qt::CTRL | Qt::Key_Plus, Qt::CTRL | Qt::Key_Equal});
    bind(m_command2, {Qt::CTRL | Qt::Key_Minus});
    bind(m_command5, {Qt::CTRL | Qt::Key_O});
    // Taken in keyPressEvent.
    name(m_command3, QKeySequence(Qt::CTRL | Qt::Key_Return));
    name(m_command4, QKeySequence(QKeySequence::Cancel));

    // "Rows from code" has no button. It pairs with Ctrl+Shift+C, which copies the code out; the
    // output box, from whose menu it reads the code the box holds, names both ways.
    const QKeySequence rowsKey(Qt::CTRL | Qt::SHIFT | Qt::Key_V);
    auto *rows = new QShortcut(rowsKey, this);
    rows->setAutoRepeat(false);
    connect(rows, &QShortcut::activated, this,
            [this] { rowsFromCode(QGuiApplication::clipboard()->text()); });
    const QString ways = u"Rows from a trade code: %1 reads the clipboard, \"Rows from this code\" "
                         u"in this box's menu reads this box"_s.arg(
                                 rowsKey.toString(QKeySequence::NativeText));
    m_text5->setToolTip(ways);
    m_text5->setAccessibleDescription(ways);
}

// Return and Escape are no shortcuts: an item list's popup acts on them (chooses, closes) while
// they are still being looked up as shortcuts, and the window would act on them as well. A key
// that reaches the window was used by no control and no popup. Escape closes only a shown panel,
// as "X" can only be clicked then.
void Form1::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    const bool ctrl = (event->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier;
    if (!event->isAutoRepeat()) {
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && ctrl)
            return m_command3->click();
        if (event->matches(QKeySequence::Cancel) && m_picture1->isVisible())
            return m_command4->click();
    }
    QWidget::keyPressEvent(event);
}
