// SPDX-License-Identifier: Apache-2.0
#include "platform/decodedpicture.h"

#include <array>
#include <cstring>

namespace platform::DecodedPicture {

namespace {

constexpr quint32 Magic = 0x5850474c; // "LGPX" read as a little-endian word
using Header = std::array<quint32, 5>;

bool stored(quint32 format) {
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_ARGB32_Premultiplied;
}

} // namespace

QImage::Format storedFormat(const QImage& image) {
    if (!image.hasAlphaChannel())
        return QImage::Format_RGB32;
    const QImage straight = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < straight.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(straight.constScanLine(y));
        for (int x = 0; x < straight.width(); ++x) {
            if (qAlpha(row[x]) != 255)
                return Format;
        }
    }
    return QImage::Format_RGB32;
}

QByteArray encode(const QImage& source) {
    const QImage image = stored(source.format()) ? source : source.convertToFormat(Format);
    const Header header{Magic, quint32(image.width()), quint32(image.height()),
                        quint32(image.width()) * 4, quint32(image.format())};
    QByteArray bytes(reinterpret_cast<const char*>(header.data()), sizeof header);
    for (int y = 0; y < image.height(); ++y)
        bytes.append(reinterpret_cast<const char*>(image.constScanLine(y)), header[3]);
    return bytes;
}

QImage decode(const uchar* data, qsizetype size) {
    Header header{};
    if (!data || size < qsizetype(sizeof header))
        return {};
    std::memcpy(header.data(), data, sizeof header);
    const auto [magic, width, height, rowBytes, format] = header;
    if (magic != Magic || width == 0 || height == 0 || width > 16384 || height > 16384 ||
        rowBytes != width * 4 || !stored(format) ||
        size != qsizetype(sizeof header) + qsizetype(rowBytes) * height)
        return {};
    const uchar* pixels = data + sizeof header;
    const QImage image(pixels, int(width), int(height), int(rowBytes), QImage::Format(format));
    // Rows read as 32-bit words must start on a word; elsewhere the picture is copied once.
    return reinterpret_cast<quintptr>(pixels) % alignof(quint32) == 0 ? image : image.copy();
}

} // namespace platform::DecodedPicture
