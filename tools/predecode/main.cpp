// SPDX-License-Identifier: Apache-2.0
// Decodes one of the windows' pictures at build time into the form the program draws, so that
// the program shows it straight from its own memory instead of decoding it at every start:
//
//   lautgarten-predecode [--window-icon] IN.png OUT
//
// OUT is the header of platform/decodedpicture.h followed by the pixels, rows without padding:
// RGB32 where the picture is opaque, else premultiplied ARGB; a window icon in straight ARGB,
// the form in which X takes it.

#include "platform/decodedpicture.h"

#include <QImage>
#include <QSaveFile>
#include <cstdio>
#include <cstring>

int main(int argc, char* argv[]) {
    const bool windowIcon = argc == 4 && std::strcmp(argv[1], "--window-icon") == 0;
    if (argc != 3 && !windowIcon) {
        std::fputs("usage: lautgarten-predecode [--window-icon] IN.png OUT\n", stderr);
        return 2;
    }
    const char* in = argv[argc - 2];
    const char* outName = argv[argc - 1];
    QImage image(QString::fromLocal8Bit(in));
    if (image.isNull()) {
        std::fprintf(stderr, "lautgarten-predecode: cannot read %s\n", in);
        return 1;
    }
    image = image.convertToFormat(windowIcon ? QImage::Format_ARGB32
                                             : platform::DecodedPicture::storedFormat(image));
    QSaveFile out(QString::fromLocal8Bit(outName));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        !out.write(platform::DecodedPicture::encode(image)) || !out.commit()) {
        std::fprintf(stderr, "lautgarten-predecode: cannot write %s\n", outName);
        return 1;
    }
    return 0;
}
