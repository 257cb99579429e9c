// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

QT_BEGIN_NAMESPACE
class QAccessibleInterface;
class QWidget;
QT_END_NAMESPACE

// A result shown away from the focus, told to a screen reader as a notification named after
// where it is shown or what it comes from: the trade code in "Trade code" while the focus stays
// on "Generate", what "Copy to Clipboard" did, the box that made "Generate" fail. The toolkit
// tells such a result only as a change of some control's text, which a screen reader presents for
// the focused control alone. Nothing of it is drawn; it is a child of its window in the
// accessibility tree, shown from the moment it is told until it is withdrawn.
class ResultNotice : public QObject
{
    Q_OBJECT

public:
    ResultNotice(const QString &name, QWidget *window);

    // Shows the notice anew with that text, which a screen reader then presents; an empty text
    // leaves it withdrawn.
    void tell(const QString &text);
    void withdraw();
    QString name() const { return m_name; }
    QString text() const { return m_text; }
    bool isShown() const { return m_shown; }

private:
    QString m_name;
    QString m_text;
    bool m_shown = false;
};

// What a screen reader finds of a notice: a notification with its name, and its text as the
// description while it is shown.
QAccessibleInterface *accessibleResultNotice(ResultNotice *notice);
