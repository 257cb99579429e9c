// SPDX-License-Identifier: GPL-3.0-or-later
// "Copy to Clipboard": the output box's text onto the clipboard, and a short word under the
// button, to the eye and to a screen reader, of what the copy did.
#include "form1.h"

#include "resultnotice.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QTextBoundaryFinder>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// Characters as the user sees them: a letter with its combining marks, or an emoji written as a
// surrogate pair, counts once; so does a line break.
qsizetype visibleLength(const QString &text)
{
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    qsizetype count = 0;
    while (graphemes.toNextBoundary() != -1)
        ++count;
    return count;
}

// What "Copy to Clipboard" says it did with that text.
QString copyConfirmation(const QString &copied, const QLocale &locale)
{
    const qsizetype count = visibleLength(copied);
    if (count == 0)
        return u"Clipboard emptied"_s;
    return u"Copied "_s + locale.toString(qlonglong(count))
            + (count == 1 ? u" character"_s : u" characters"_s);
}

} // namespace

void Form1::copyToClipboardClicked()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    const QString text = outputText();
    clipboard->setText(text);
    // Nothing else shows that the click did anything; a second copy shows its own count anew.
    const QString said = copyConfirmation(text, m_locale);
    m_copyConfirmation->setText(said);
    m_copyConfirmation->show();
    m_copyNotice->tell(said);
    m_copyConfirmationTimer->start();
}

void Form1::copyConfirmationDone()
{
    m_copyConfirmation->hide();
    m_copyNotice->withdraw();
}
