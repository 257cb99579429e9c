// SPDX-License-Identifier: GPL-3.0-or-later
#include "quennelicon.h"

#include <QResource>

using namespace Qt::StringLiterals;

QImage quennelIcon()
{
    constexpr int Size = 252;
    constexpr int BytesPerLine = Size * 3;
    const QResource pixels(u":/icons/quennel.rgb"_s);
    if (!pixels.isValid() || pixels.compressionAlgorithm() != QResource::NoCompression
        || pixels.size() != qint64(BytesPerLine) * Size)
        return {};
    // The image reads the resource's memory in place; decoding a PNG here would cost more than
    // building the whole rest of the window.
    return QImage(pixels.data(), Size, Size, BytesPerLine, QImage::Format_RGB888);
}
