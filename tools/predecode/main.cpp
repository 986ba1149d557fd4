// SPDX-License-Identifier: Apache-2.0
// Decodes one of the windows' pictures at build time into the form the program draws, so that
// the program shows it straight from its own memory instead of decoding it at every start:
//
//   lautgarten-predecode IN.png OUT
//
// OUT is the header of platform/decodedpicture.h followed by the pixels, premultiplied ARGB,
// rows without padding.

#include "platform/decodedpicture.h"

#include <QImage>
#include <QSaveFile>
#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fputs("usage: lautgarten-predecode IN.png OUT\n", stderr);
        return 2;
    }
    const QImage image =
        QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(platform::DecodedPicture::Format);
    if (image.isNull()) {
        std::fprintf(stderr, "lautgarten-predecode: cannot read %s\n", argv[1]);
        return 1;
    }
    QSaveFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        !out.write(platform::DecodedPicture::encode(image))) {
        std::fprintf(stderr, "lautgarten-predecode: cannot write %s\n", argv[2]);
        return 1;
    }
    if (!out.commit()) {
        std::fprintf(stderr, "lautgarten-predecode: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
