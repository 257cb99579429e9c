// SPDX-License-Identifier: GPL-3.0-or-later
// The toolkit's floor for the trade window: a window of the same size holding the same 23
// kinds of controls in the same places, its item list filled with 200 names, and no logic at
// all. startup.sh measures it side by side with the real program.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QWidget>

namespace {

// The layout is drawn up in twips; at 96 dots per inch a pixel is 15 of them.
QRect twips(int left, int top, int width, int height)
{
    return {left / 15, top / 15, width / 15, height / 15};
}

template<class Widget>
Widget *place(Widget *widget, const QRect &geometry)
{
    widget->setGeometry(geometry);
    return widget;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Baseline"));
    window.setFixedSize(815, 703);

    auto *options = place(new QWidget(&window), twips(3600, 2520, 4935, 4335));
    auto *bottom = place(new QWidget(&window), twips(0, 8760, 12255, 1815));
    place(new QPushButton(QStringLiteral("Options"), &window), twips(10200, 9120, 1935, 855));
    place(new QPlainTextEdit(&window), twips(360, 9120, 7335, 1215));
    place(new QPushButton(QStringLiteral("Generate"), &window), twips(7800, 9120, 2295, 855));
    place(new QPushButton(QStringLiteral("-"), &window), twips(1080, 1440, 375, 375));
    place(new QPushButton(QStringLiteral("+"), &window), twips(600, 1440, 375, 375));
    place(new QPushButton(QStringLiteral("X"), options), twips(4560, 120, 255, 255));
    auto *scroll = place(new QScrollBar(Qt::Horizontal, options), twips(480, 3720, 3855, 375));
    scroll->setRange(0, 100);
    scroll->setValue(100);
    for (int i = 0; i < 3; ++i) {
        auto *box = place(new QCheckBox(QStringLiteral("Option %1").arg(i), options),
                          twips(480, 1200 + 600 * i, 3855, 495));
        box->setChecked(true);
    }
    auto *heading
            = place(new QLabel(QStringLiteral("Options"), options), twips(480, 360, 3855, 615));
    heading->setFont(QFont(QStringLiteral("MS Sans Serif"), 24));
    place(new QLabel(QStringLiteral("Percent"), options), twips(480, 3360, 3855, 375));
    options->hide();

    place(new QLineEdit(QStringLiteral("Price will be generated"), &window),
          twips(8400, 960, 3495, 285));
    place(new QLineEdit(QStringLiteral("Enter buyingprice here"), &window),
          twips(8400, 960, 3495, 285));
    place(new QLineEdit(QStringLiteral("Enter sellingprice here"), &window),
          twips(4680, 960, 3495, 285));
    place(new QLineEdit(QStringLiteral("ID"), &window), twips(3720, 960, 735, 285));
    auto *items = place(new QComboBox(&window), twips(600, 960, 3015, 315));
    QStringList names;
    for (int i = 1; i <= 200; ++i)
        names << QStringLiteral("Item %1").arg(i);
    items->addItems(names);
    place(new QPushButton(QStringLiteral("Copy to Clipboard"), bottom),
          twips(7800, 1320, 4335, 255));
    auto *maker = place(new QLabel(QStringLiteral("Maker"), &window), twips(600, 120, 3975, 615));
    maker->setFont(QFont(QStringLiteral("Hobo Std"), 26));
    place(new QLabel(QStringLiteral("Buying price"), &window), twips(8400, 600, 3495, 255));
    place(new QLabel(QStringLiteral("Selling price"), &window), twips(4680, 600, 3495, 255));

    window.show();
    return QApplication::exec();
}
