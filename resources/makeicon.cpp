// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the window icon: the capitals "QN" in bold black on the program's light blue. The letters
// are outlines rather than font glyphs, so the image is the same on every machine and at every
// size.
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>
#include <QString>

#include <cstdio>
#include <cstdlib>

namespace {

// The outlines live on a 252-unit square, the size of the window icon; other sizes scale it.
constexpr double designSize = 252.0;

QPainterPath letterQ()
{
    const QRectF outer(14, 38, 110, 174);
    QPainterPath ring;
    ring.addEllipse(outer);
    QPainterPath hole;
    hole.addEllipse(outer.adjusted(27, 29, -27, -29));
    QPainterPath tail;
    tail.addPolygon(QPolygonF({{68, 166}, {92, 150}, {130, 220}, {106, 234}}));
    tail.closeSubpath();
    return ring.subtracted(hole).united(tail);
}

QPainterPath letterN()
{
    QPainterPath n;
    n.addPolygon(QPolygonF({{136, 212},
                            {136, 40},
                            {165, 40},
                            {210, 150},
                            {210, 40},
                            {238, 40},
                            {238, 212},
                            {209, 212},
                            {164, 102},
                            {164, 212}}));
    n.closeSubpath();
    return n;
}

QImage drawIcon(int size)
{
    // 24 bits per pixel and no alpha channel: the icon is fully opaque by construction.
    QImage image(size, size, QImage::Format_RGB888);
    image.fill(QColor(0, 162, 232));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / designSize, size / designSize);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawPath(letterQ());
    painter.drawPath(letterN());
    painter.end();
    return image;
}

} // namespace

// Raw pixels, row after row, three bytes each: the window builds its icon from them without
// decoding an image file at start-up.
bool saveRaw(const QImage &image, const char *path)
{
    std::FILE *file = std::fopen(path, "wb");
    if (!file)
        return false;
    const auto rowBytes = static_cast<std::size_t>(image.width()) * 3;
    bool written = true;
    for (int y = 0; y < image.height() && written; ++y)
        written = std::fwrite(image.constScanLine(y), 1, rowBytes, file) == rowBytes;
    return std::fclose(file) == 0 && written;
}

// makeicon SIZE OUTPUT.png|OUTPUT.rgb
int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: makeicon SIZE OUTPUT.png|OUTPUT.rgb\n");
        return 2;
    }
    const int size = std::atoi(argv[1]);
    if (size < 16 || size > 1024) {
        std::fprintf(stderr, "makeicon: size must be 16 to 1024, not %s\n", argv[1]);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[2]);
    const QImage image = drawIcon(size);
    const bool saved = path.endsWith(QLatin1String(".rgb")) ? saveRaw(image, argv[2])
                                                            : image.save(path, "PNG");
    if (!saved) {
        std::fprintf(stderr, "makeicon: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
