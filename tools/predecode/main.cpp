// SPDX-License-Identifier: Apache-2.0
// Decodes one of the windows' pictures at build time into the form the program draws, so that
// the program shows it straight from its own memory instead of decoding it at every start:
//
//   lautgarten-predecode [--window-icon] [--crop WIDTHxHEIGHT] IN.png OUT.pixels
//
// OUT is the header of platform/decodedpicture.h followed by the pixels, rows without padding:
// RGB32 where the picture is opaque, else premultiplied ARGB; a window icon in straight ARGB,
// the form in which X takes it. With --crop only the top-left part of that size is kept.

#include "platform/decodedpicture.h"

#include <QImage>
#include <QSaveFile>
#include <QSize>
#include <cstdio>
#include <cstring>

namespace {

int usage() {
    std::fputs("usage: lautgarten-predecode [--window-icon] [--crop WIDTHxHEIGHT] IN.png OUT\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char* argv[]) {
    bool windowIcon = false;
    QSize crop;
    int at = 1;
    for (; at < argc - 2; ++at) {
        if (std::strcmp(argv[at], "--window-icon") == 0) {
            windowIcon = true;
        } else if (std::strcmp(argv[at], "--crop") == 0 && at + 1 < argc - 2) {
            int width = 0, height = 0;
            if (std::sscanf(argv[++at], "%dx%d", &width, &height) != 2 || width <= 0 || height <= 0)
                return usage();
            crop = QSize(width, height);
        } else {
            return usage();
        }
    }
    if (argc - at != 2)
        return usage();
    const char* in = argv[at];
    const char* outName = argv[at + 1];
    QImage image(QString::fromLocal8Bit(in));
    if (image.isNull()) {
        std::fprintf(stderr, "lautgarten-predecode: cannot read %s\n", in);
        return 1;
    }
    if (crop.isValid())
        image = image.copy(QRect({0, 0}, crop.boundedTo(image.size())));
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
