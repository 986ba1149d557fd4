// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QByteArray>
#include <QImage>

namespace platform::DecodedPicture {

// The windows' own pictures are decoded when the program is built and travel inside it as
// pixels (tools/predecode): a header of five 32-bit words (the magic "LGPX", width,
// height, bytes per row, QImage format), then the rows. The start page then shows its banner
// without decoding it at every start.
//
// The format is the one the picture is used in, so that nothing converts it again: RGB32 for an
// opaque picture (Qt would otherwise search it for transparent pixels and copy it), premultiplied
// ARGB for one drawn with transparency, straight ARGB for a window icon, which X takes as such.
constexpr QImage::Format Format = QImage::Format_ARGB32_Premultiplied;

// Stores an RGB32, ARGB32 or premultiplied ARGB32 picture as it is; any other as premultiplied.
QByteArray encode(const QImage& image);

// The picture over the bytes as they lie, without a copy where they are aligned as an image's
// rows must be; a null image where the bytes are no such picture.
QImage decode(const uchar* data, qsizetype size);

// The format a picture is best stored in: RGB32 where no pixel is transparent, else Format.
QImage::Format storedFormat(const QImage& image);

} // namespace platform::DecodedPicture
