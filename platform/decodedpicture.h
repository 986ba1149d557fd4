// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QByteArray>
#include <QImage>

namespace platform::DecodedPicture {

// The windows' own pictures are decoded when the program is built and travel inside it as
// pixels (resources/CMakeLists.txt): a header of four 32-bit words (the magic "LGPX", width,
// height, bytes per row), then the rows in this format. The start page then shows its banner
// without decoding it at every start.
constexpr QImage::Format Format = QImage::Format_ARGB32_Premultiplied;

QByteArray encode(const QImage& image);

// The picture over the bytes as they lie, without a copy where they are aligned as an image's
// rows must be; a null image where the bytes are no such picture.
QImage decode(const uchar* data, qsizetype size);

} // namespace platform::DecodedPicture
