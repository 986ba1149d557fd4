// SPDX-License-Identifier: Apache-2.0
#include "platform/decodedpicture.h"

#include <array>
#include <cstring>

namespace platform::DecodedPicture {

namespace {

constexpr quint32 Magic = 0x5850474c; // "LGPX" read as a little-endian word
using Header = std::array<quint32, 4>;

} // namespace

QByteArray encode(const QImage& source) {
    const QImage image = source.convertToFormat(Format);
    const Header header{Magic, quint32(image.width()), quint32(image.height()),
                        quint32(image.width()) * 4};
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
    const auto [magic, width, height, rowBytes] = header;
    if (magic != Magic || width == 0 || height == 0 || width > 16384 || height > 16384 ||
        rowBytes != width * 4 || size != qsizetype(sizeof header) + qsizetype(rowBytes) * height)
        return {};
    const uchar* pixels = data + sizeof header;
    const QImage image(pixels, int(width), int(height), int(rowBytes), Format);
    // Rows read as 32-bit words must start on a word; elsewhere the picture is copied once.
    return reinterpret_cast<quintptr>(pixels) % alignof(quint32) == 0 ? image : image.copy();
}

} // namespace platform::DecodedPicture
