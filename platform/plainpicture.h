// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QByteArray>
#include <QImage>

namespace platform {

// Reads a picture of the kinds the picture library is made of, in one pass and without Qt's
// general readers, which take four to ten times as many instructions for them: the first page's
// letter and three pictures are decoded before the start page appears.
//
//  - a PNG with 8 bits per channel, not interlaced, without a transparent colour key
//    (libdeflate unpacks the pixels, the row filters are undone in place; not in a build
//    without libdeflate);
//  - a GIF of one picture covering its whole area, not interlaced.
//
// The picture must be no larger than largest. Returns a null image for any other file and for any
// damage or oddity (a checksum that does not match, missing or surplus data, a chunk or block it
// does not know): Qt's readers then read the file as they always have, and report what they find.
QImage readPlainPicture(const QByteArray& bytes, QSize largest);

} // namespace platform
