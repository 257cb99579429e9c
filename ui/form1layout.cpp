// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1.h"

#include "faultmark.h"
#include "itemlist.h"
#include "itemlistaccessible.h"
#include "quennelicon.h"
#include "resultnotice.h"
#include "systemcolours.h"
#include "windowaccessible.h"

#include <QCheckBox>
#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The layout is kept in twips, the unit the window was designed in, and placed in pixels.
constexpr int TwipsPerPixel = 15;

QRect twips(int left, int top, int width, int height)
{
    return QRect(left / TwipsPerPixel, top / TwipsPerPixel, width / TwipsPerPixel,
                 height / TwipsPerPixel);
}

QRect twips(const QRect &r)
{
    return twips(r.left(), r.top(), r.width(), r.height());
}

template<class Control>
Control *place(Control *control, const QString &name, const QRect &geometry,
               const QString &accessibleName)
{
    control->setObjectName(name);
    control->setGeometry(geometry);
    control->setAccessibleName(accessibleName);
    return control;
}

QPushButton *button(QWidget *parent, const QString &name, const QString &caption,
                    const QRect &geometry, const QString &accessibleName)
{
    return place(new QPushButton(caption, parent), name, geometry, accessibleName);
}

QLabel *label(QWidget *parent, const QString &name, const QString &caption, const QRect &geometry,
              Qt::Alignment alignment)
{
    auto *l = place(new QLabel(caption, parent), name, geometry, caption);
    l->setAlignment(alignment | Qt::AlignTop);
    return l;
}

QCheckBox *checkBox(QWidget *parent, const QString &name, const QString &caption,
                    const QRect &geometry)
{
    auto *box = place(new QCheckBox(caption, parent), name, geometry, caption);
    box->setChecked(true);
    return box;
}

QWidget *panel(QWidget *parent, const QString &name, const QRect &geometry, SystemColour back,
               const QString &accessibleName)
{
    auto *p = place(new QWidget(parent), name, geometry, accessibleName);
    QPalette palette = p->palette();
    palette.setColor(QPalette::Window, systemColour(back));
    palette.setColor(QPalette::WindowText, systemColour(SystemColour::WindowText));
    p->setPalette(palette);
    p->setAutoFillBackground(true);
    return p;
}

QFont namedFont(const QString &family, qreal pointSize, QFont::Weight weight)
{
    QFont f(family);
    f.setPointSizeF(pointSize);
    f.setWeight(weight);
    return f;
}

// The front-to-back order within one container.
void stack(const QList<QWidget *> &frontToBack)
{
    for (auto it = std::rbegin(frontToBack); it != std::rend(frontToBack); ++it)
        (*it)->raise();
}

} // namespace

void Form1::buildLayout()
{
    installItemListAccessibility();
    installWindowAccessibility();
    setWindowTitle(u"Quennel"_s);
    setWindowIcon(QIcon(QPixmap::fromImage(quennelIcon())));
    setFixedSize(12225 / TwipsPerPixel, 10545 / TwipsPerPixel);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, systemColour(SystemColour::ActiveCaption));
    setPalette(palette);
    setAutoFillBackground(true);

    m_command5 = button(this, u"Command5"_s, u"Options"_s, twips(10200, 9120, 1935, 855),
                        u"Options"_s);
    m_text5 = place(new QPlainTextEdit(this), u"Text5"_s, twips(360, 9120, 7335, 1215),
                    u"Trade code"_s);
    m_text5->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_text5->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_text5->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_text5->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_text5->setTabChangesFocus(true); // Tab must lead on, or the keyboard is caught here
    m_text5->setContextMenuPolicy(Qt::CustomContextMenu); // its own, and "Rows from this code"
    m_codeNotice = new ResultNotice(u"Trade code"_s, this);
    m_rowsNotice = new ResultNotice(u"Rows from code"_s, this);
    m_faultMark = new FaultMark(this);
    m_command3 = button(this, u"Command3"_s, u"Generate"_s, twips(7800, 9120, 2295, 855),
                        u"Generate"_s);
    m_command2 = button(this, u"Command2"_s, u"-"_s, twips(1080, 1440, 375, 375),
                        u"Remove last row"_s);
    m_command1 = button(this, u"Command1"_s, u"+"_s, twips(600, 1440, 375, 375), u"Add row"_s);

    m_picture1 = panel(this, u"Picture1"_s, twips(3600, 2520, 4935, 4335), SystemColour::ScrollBar,
                       u"Options"_s);
    m_picture1->hide();
    m_command4 = button(m_picture1, u"Command4"_s, u"X"_s, twips(4560, 120, 255, 255),
                        u"Close options"_s);
    m_hscroll1 = place(new QScrollBar(Qt::Horizontal, m_picture1), u"HScroll1"_s,
                       twips(480, 3720, 3855, 375), u"Percent of buying price"_s);
    m_hscroll1->setRange(0, 100);
    m_hscroll1->setValue(100);
    m_hscroll1->setSingleStep(1);
    m_hscroll1->setPageStep(10);
    m_hscroll1->setFocusPolicy(Qt::StrongFocus);
    // A scroll bar's keys run the other way by default, which would make Right lower the
    // percentage.
    m_hscroll1->setInvertedControls(false);
    m_check3 = checkBox(m_picture1, u"Check3"_s, u"Generate selling code"_s,
                        twips(480, 2400, 3855, 495));
    m_check2 = checkBox(m_picture1, u"Check2"_s, u"Generate buying code"_s,
                        twips(480, 1800, 3855, 495));
    m_check1 = checkBox(m_picture1, u"Check1"_s, u"Use generated buying price"_s,
                        twips(480, 1200, 3855, 495));
    m_label2 = label(m_picture1, u"Label2"_s, u"Options"_s, twips(480, 360, 3855, 615),
                     Qt::AlignHCenter);
    m_label2->setFont(namedFont(u"MS Sans Serif"_s, 24, QFont::Normal));
    m_label1 = label(m_picture1, u"Label1"_s, u"Percent of buying price"_s,
                     twips(480, 3360, 3855, 375), Qt::AlignHCenter);
    stack({m_command4, m_hscroll1, m_check3, m_check2, m_check1, m_label2, m_label1});
    buildPercentShown();

    const TradeRow row0 = m_rows.row(0);
    for (const TradeColumn &column : TradeColumns) {
        row0[column]->setGeometry(twips(column.twips));
        if (QLineEdit *box = row0.box(column.column)) {
            box->setText(column.text.toString());
            box->setReadOnly(column.readOnly);
            box->setAlignment(column.alignment);
        }
    }
    nameRow(0);

    m_picture2 = panel(this, u"Picture2"_s, twips(0, 8760, 12255, 1815),
                       SystemColour::InactiveCaption, u"Bottom panel"_s);
    m_command6 = button(m_picture2, u"Command6"_s, u"Copy to Clipboard"_s,
                        twips(7800, 1320, 4335, 255), u"Copy to Clipboard"_s);
    buildCopyConfirmation();
    m_label5 = label(this, u"Label5"_s, u"Vorlinde"_s, twips(600, 120, 3975, 615), Qt::AlignLeft);
    m_label5->setFont(namedFont(u"Hobo Std"_s, 26.25, QFont::Medium));
    m_label4 = label(this, u"Label4"_s, u"Buying price"_s, twips(8400, 600, 3495, 255),
                     Qt::AlignHCenter);
    m_label3 = label(this, u"Label3"_s, u"Selling price"_s, twips(4680, 600, 3495, 255),
                     Qt::AlignHCenter);

    // Row 0 from right to left: the generated price in front of the typed one.
    QList<QWidget *> frontToBack{m_command5, m_text5,    m_command3,
                                 m_command2, m_command1, m_picture1};
    std::copy(row0.controls.rbegin(), row0.controls.rend(), std::back_inserter(frontToBack));
    frontToBack += {m_picture2, m_label5, m_label4, m_label3};
    stack(frontToBack);
    setInitialTabOrder();
}

void Form1::setInitialTabOrder()
{
    // The designed order, labels and panels included; those that never take the focus are left
    // out of the chain, since the toolkit would not link past them.
    const TradeRow row0 = m_rows.row(0);
    QList<QWidget *> order(row0.controls.begin(), row0.controls.end());
    order += {m_picture1, m_check1,   m_check2,   m_check3,   m_hscroll1, m_label1,
              m_label2,   m_command1, m_command2, m_command3, m_text5,    m_command4,
              m_command5, m_picture2, m_label3,   m_label4,   m_command6, m_label5};
    QWidget *previous = nullptr;
    for (QWidget *w : order) {
        if (w->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            setTabOrder(previous, w);
        previous = w;
    }
}

// The bar's percentage for the eye, at the right end of the caption's line, where the column of
// the panel's controls ends: in the empty space beside the centred caption and on its baseline.
// Screen readers keep reading the percentage as the bar's own value.
void Form1::buildPercentShown()
{
    m_percentShown = new QLabel(m_picture1);
    m_percentShown->setObjectName(u"PercentShown"_s);
    m_percentShown->setGeometry(twips(3435, 3360, 900, 375));
    m_percentShown->setAlignment(Qt::AlignRight | Qt::AlignTop);
}

// What "Copy to Clipboard" did, in the free strip right under the button, where it covers
// nothing; it goes by itself after a few seconds.
void Form1::buildCopyConfirmation()
{
    const QRect button = m_command6->geometry();
    const int top = button.bottom() + 1;
    const int bottom = std::min(m_picture2->height(), height() - m_picture2->y()); // as seen
    m_copyConfirmation = new QLabel(m_picture2);
    m_copyConfirmation->setObjectName(u"CopyConfirmation"_s);
    m_copyConfirmation->setGeometry(button.left(), top, button.width(), bottom - top);
    m_copyConfirmation->setAlignment(Qt::AlignCenter);
    m_copyConfirmation->hide();
    m_copyNotice = new ResultNotice(u"Copy to Clipboard"_s, this);
    m_copyConfirmationTimer = new QTimer(this);
    m_copyConfirmationTimer->setObjectName(u"CopyConfirmationTimer"_s);
    m_copyConfirmationTimer->setSingleShot(true);
    m_copyConfirmationTimer->setInterval(CopyConfirmationShown);
}

// Same column as the element above it, one row pitch lower.
void Form1::placeBelow(QWidget *element, const QWidget *above)
{
    const QRect a = above->geometry();
    element->setGeometry(a.left(), a.top() + RowPitch, a.width(), element->height());
}

// Rows are counted from 1 for the user, while their index starts at 0.
void Form1::nameRow(qint16 row)
{
    const QString suffix = u", row "_s + QString::number(row + 1);
    const TradeRow controls = m_rows.row(row);
    for (const TradeColumn &column : TradeColumns)
        controls[column]->setAccessibleName(column.accessibleName.toString() + suffix);
}
