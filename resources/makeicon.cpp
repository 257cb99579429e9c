// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the window icon: the capitals "QN" in bold black on the program's light blue. The letters
// are outlines rather than font glyphs, so the image is the same on every machine and at every
// size.
#include <QBuffer>
#include <QByteArray>
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

// A Windows icon file: the icon drawn anew at each size that Windows shows, from the smallest up to
// and including size, each image a PNG inside the file (which Windows reads since Vista).
bool saveIco(int size, const char *path)
{
    QByteArray directory;
    QByteArray images;
    const auto put16 = [&directory](int v) {
        directory += char(v & 0xFF);
        directory += char(v >> 8 & 0xFF);
    };
    const auto put32 = [&](qsizetype v) {
        put16(int(v & 0xFFFF));
        put16(int(v >> 16 & 0xFFFF));
    };
    int count = 0;
    for (const int side : {16, 20, 24, 32, 40, 48, 64, 96, 128, 256})
        count += side <= size ? 1 : 0;
    put16(0); // reserved
    put16(1); // an icon, not a cursor
    put16(count);
    const qsizetype headerSize = 6 + 16 * qsizetype(count);
    for (const int side : {16, 20, 24, 32, 40, 48, 64, 96, 128, 256}) {
        if (side > size)
            continue;
        QByteArray png;
        QBuffer buffer(&png);
        // With an alpha channel, as Windows expects of an icon's images, though every pixel is
        // opaque.
        const QImage image = drawIcon(side).convertToFormat(QImage::Format_ARGB32);
        if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
            return false;
        directory += char(side == 256 ? 0 : side); // 0 stands for 256
        directory += char(side == 256 ? 0 : side);
        directory += char(0); // no palette
        directory += char(0);
        put16(1);  // colour planes
        put16(32); // bits per pixel
        put32(png.size());
        put32(headerSize + images.size());
        images += png;
    }
    std::FILE *file = std::fopen(path, "wb");
    if (!file)
        return false;
    const QByteArray bytes = directory + images;
    const bool written = std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), file)
            == std::size_t(bytes.size());
    return std::fclose(file) == 0 && written;
}

// makeicon SIZE OUTPUT.png|OUTPUT.rgb|OUTPUT.ico
int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: makeicon SIZE OUTPUT.png|OUTPUT.rgb|OUTPUT.ico\n");
        return 2;
    }
    const int size = std::atoi(argv[1]);
    if (size < 16 || size > 1024) {
        std::fprintf(stderr, "makeicon: size must be 16 to 1024, not %s\n", argv[1]);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[2]);
    bool saved = false;
    if (path.endsWith(QLatin1String(".ico")))
        saved = saveIco(size, argv[2]);
    else if (path.endsWith(QLatin1String(".rgb")))
        saved = saveRaw(drawIcon(size), argv[2]);
    else
        saved = drawIcon(size).save(path, "PNG");
    if (!saved) {
        std::fprintf(stderr, "makeicon: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
