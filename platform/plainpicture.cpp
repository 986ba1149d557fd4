// SPDX-License-Identifier: Apache-2.0
#include "platform/plainpicture.h"

#include <QList>

#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#if LAUTGARTEN_LIBDEFLATE
#include <libdeflate.h>
#endif

namespace platform {

namespace {

// Working memory of the readers, kept from one picture to the next. Taken and given back for each
// picture, blocks of a picture's size cut up the heap between what stays, and the program's
// memory grows from page to page.
std::vector<uchar>& scratch(std::size_t size) {
    thread_local std::vector<uchar> bytes;
    bytes.resize(size);
    return bytes;
}

bool fits(quint32 width, quint32 height, QSize largest) {
    return width > 0 && height > 0 && width <= quint32(largest.width()) &&
           height <= quint32(largest.height());
}

#if LAUTGARTEN_LIBDEFLATE

quint32 bigEndian(const uchar* p) {
    return quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | p[3];
}

bool isType(const uchar* type, const char* name) {
    return std::memcmp(type, name, 4) == 0;
}

// Chunks that only describe the picture (colour space, text, resolution, time); the pixels are
// read the same without them. Any other ancillary chunk (an orientation tag, say) is left to
// Qt's reader.
bool describesOnly(const uchar* type) {
    for (const char* name :
         {"gAMA", "cHRM", "sRGB", "iCCP", "sBIT", "bKGD", "pHYs", "tEXt", "zTXt", "iTXt", "tIME"}) {
        if (isType(type, name))
            return true;
    }
    return false;
}

int paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// Undoes one row's filter in place; above is the row above, already undone (zeros for the first).
bool unfilter(uchar filter, uchar* row, const uchar* above, qsizetype length, int pixelBytes) {
    switch (filter) {
    case 0:
        return true;
    case 1:
        for (qsizetype i = pixelBytes; i < length; ++i)
            row[i] = uchar(row[i] + row[i - pixelBytes]);
        return true;
    case 2:
        for (qsizetype i = 0; i < length; ++i)
            row[i] = uchar(row[i] + above[i]);
        return true;
    case 3:
        for (qsizetype i = 0; i < length; ++i) {
            const int left = i >= pixelBytes ? row[i - pixelBytes] : 0;
            row[i] = uchar(row[i] + (left + above[i]) / 2);
        }
        return true;
    case 4:
        for (qsizetype i = 0; i < length; ++i) {
            const bool first = i < pixelBytes;
            row[i] = uchar(row[i] + paeth(first ? 0 : row[i - pixelBytes], above[i],
                                          first ? 0 : above[i - pixelBytes]));
        }
        return true;
    default:
        return false;
    }
}

// The colour types of PNG, and what Qt's reader makes of each at 8 bits per channel.
struct ColourType {
    uchar code;
    int pixelBytes;
    QImage::Format format;
};
constexpr ColourType ColourTypes[] = {
    {0, 1, QImage::Format_Grayscale8}, // grey
    {2, 3, QImage::Format_RGB888},     // RGB
    {3, 1, QImage::Format_Indexed8},   // palette, with or without transparent entries
    {4, 2, QImage::Format_RGBA8888},   // grey with alpha, spread to RGBA
    {6, 4, QImage::Format_RGBA8888},   // RGBA
};

QImage readPlainPng(const QByteArray& bytes, QSize largest) {
    const auto* file = reinterpret_cast<const uchar*>(bytes.constData());
    const qsizetype size = bytes.size();
    quint32 width = 0, height = 0;
    const ColourType* colour = nullptr;
    QList<QRgb> palette;
    QByteArray joined; // the packed pixels, where they come in more than one chunk
    const uchar* packed = nullptr;
    qsizetype packedSize = 0;
    enum { BeforePixels, InPixels, AfterPixels } pixels = BeforePixels;
    for (qsizetype at = 8;;) {
        if (size - at < 12)
            return {};
        const quint32 length = bigEndian(file + at);
        if (length > quint32(size - at - 12))
            return {};
        const uchar* type = file + at + 4;
        const uchar* content = type + 4;
        if (libdeflate_crc32(0, type, length + 4) != bigEndian(content + length))
            return {};
        at += 12 + qsizetype(length);

        if (!colour) {
            if (!isType(type, "IHDR") || length != 13)
                return {};
            width = bigEndian(content);
            height = bigEndian(content + 4);
            for (const ColourType& known : ColourTypes) {
                if (content[9] == known.code)
                    colour = &known;
            }
            // Bit depth, compression, filter method and interlacing: only the plain kind.
            if (!colour || !fits(width, height, largest) || content[8] != 8 || content[10] ||
                content[11] || content[12])
                return {};
        } else if (isType(type, "IDAT")) {
            if (pixels == AfterPixels)
                return {};
            if (pixels == InPixels && joined.isEmpty())
                joined.append(reinterpret_cast<const char*>(packed), packedSize);
            if (pixels == InPixels)
                joined.append(reinterpret_cast<const char*>(content), length);
            else
                packed = content, packedSize = length;
            pixels = InPixels;
        } else if (isType(type, "PLTE") && colour->code == 3) {
            if (!palette.isEmpty() || length % 3 || length == 0 || length > 3 * 256)
                return {};
            for (quint32 i = 0; i < length; i += 3)
                palette.append(qRgb(content[i], content[i + 1], content[i + 2]));
        } else if (isType(type, "tRNS") && colour->code == 3) {
            // Transparency of the palette's first entries; a colour key of grey or RGB is
            // left to Qt's reader.
            if (length > quint32(palette.size()))
                return {};
            for (quint32 i = 0; i < length; ++i)
                palette[i] =
                    qRgba(qRed(palette[i]), qGreen(palette[i]), qBlue(palette[i]), content[i]);
        } else if (isType(type, "IEND")) {
            break;
        } else if (describesOnly(type)) {
            if (pixels == InPixels)
                pixels = AfterPixels;
        } else {
            return {};
        }
    }
    if (pixels == BeforePixels || (colour->code == 3 && palette.isEmpty()))
        return {};
    if (!joined.isEmpty()) {
        packed = reinterpret_cast<const uchar*>(joined.constData());
        packedSize = joined.size();
    }

    const int pixelBytes = colour->pixelBytes;
    const qsizetype rowBytes = qsizetype(width) * pixelBytes;
    const qsizetype rawSize = (rowBytes + 1) * qsizetype(height);
    uchar* raw = scratch(size_t(rawSize)).data();
    const std::unique_ptr<libdeflate_decompressor, decltype(&libdeflate_free_decompressor)>
        inflater(libdeflate_alloc_decompressor(), libdeflate_free_decompressor);
    if (!inflater)
        return {};
    size_t unpacked = 0;
    if (libdeflate_zlib_decompress(inflater.get(), packed, size_t(packedSize), raw, size_t(rawSize),
                                   &unpacked) != LIBDEFLATE_SUCCESS ||
        qsizetype(unpacked) != rawSize)
        return {};

    QImage image(int(width), int(height), colour->format);
    if (image.isNull())
        return {};
    if (colour->code == 3)
        image.setColorTable(palette);
    const std::vector<uchar> zeros(static_cast<size_t>(rowBytes));
    const uchar* above = zeros.data();
    for (int y = 0; y < int(height); ++y) {
        uchar* source = raw + y * (rowBytes + 1);
        if (!unfilter(source[0], source + 1, above, rowBytes, pixelBytes))
            return {};
        above = source + 1;
        uchar* row = image.scanLine(y);
        if (colour->code == 4) {
            for (quint32 x = 0; x < width; ++x, row += 4) {
                row[0] = row[1] = row[2] = above[2 * x];
                row[3] = above[2 * x + 1];
            }
        } else {
            std::memcpy(row, above, size_t(rowBytes));
        }
        if (colour->code == 3) {
            for (qsizetype x = 0; x < rowBytes; ++x) {
                if (row[x] >= palette.size())
                    return {}; // Qt's reader decides what an entry beyond the palette shows
            }
        }
    }
    return image;
}

#endif

quint32 littleEndian16(const uchar* p) {
    return quint32(p[0]) | quint32(p[1]) << 8;
}

// Unpacks a GIF picture's LZW codes into one colour index per pixel; false where the codes are
// not a whole, valid picture of exactly that many pixels.
bool unpackLzw(const QByteArray& codes, int minimumBits, std::vector<uchar>& out) {
    constexpr int MaxCodes = 4096;
    std::array<quint16, MaxCodes> prefix{};
    std::array<uchar, MaxCodes> suffix{};
    std::array<uchar, MaxCodes> stack{};
    const int clear = 1 << minimumBits;
    const int end = clear + 1;
    int bits = minimumBits + 1;
    int next = clear + 2;
    int previous = -1;
    uchar first = 0;
    size_t written = 0;
    quint32 buffer = 0;
    int buffered = 0;
    const auto* p = reinterpret_cast<const uchar*>(codes.constData());
    const qsizetype size = codes.size();
    for (qsizetype at = 0;;) {
        while (buffered < bits) {
            if (at == size) // the codes end without the end code: whole if every pixel is there
                return written == out.size();
            buffer |= quint32(p[at++]) << buffered;
            buffered += 8;
        }
        int code = int(buffer & ((1u << bits) - 1));
        buffer >>= bits;
        buffered -= bits;
        if (code == clear) {
            bits = minimumBits + 1;
            next = clear + 2;
            previous = -1;
            continue;
        }
        if (code == end)
            return written == out.size();
        const int read = code;
        int depth = 0;
        if (previous < 0) {
            if (code >= clear)
                return false;
        } else if (code > next || (code == next && next == MaxCodes)) {
            return false;
        } else if (code == next) {
            stack[depth++] = first; // the string just added: the previous one and its first byte
            code = previous;
        }
        while (code >= clear) {
            stack[depth++] = suffix[code];
            code = prefix[code];
        }
        first = uchar(code);
        stack[depth++] = first;
        if (written + size_t(depth) > out.size())
            return false;
        while (depth > 0)
            out[written++] = stack[--depth];
        if (previous >= 0 && next < MaxCodes) {
            prefix[next] = quint16(previous);
            suffix[next] = first;
            ++next;
            if (next == 1 << bits && bits < 12)
                ++bits;
        }
        previous = read;
    }
}

// The sub-blocks that follow at: their bytes joined, and at moved past the empty one that ends
// them; false where the file ends first.
bool subBlocks(const uchar* p, qsizetype n, qsizetype& at, QByteArray* joined) {
    while (at < n) {
        const uchar length = p[at++];
        if (length == 0)
            return true;
        if (length > n - at)
            return false;
        if (joined)
            joined->append(reinterpret_cast<const char*>(p + at), length);
        at += length;
    }
    return false;
}

QImage readPlainGif(const QByteArray& bytes, QSize largest) {
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    const qsizetype n = bytes.size();
    if (n < 13)
        return {};
    const quint32 width = littleEndian16(p + 6), height = littleEndian16(p + 8);
    if (!fits(width, height, largest))
        return {};
    std::array<QRgb, 256> colours{};
    int colourCount = 0;
    qsizetype at = 13;
    const auto readColours = [&](uchar flags) {
        colourCount = 2 << (flags & 7);
        if (3 * colourCount > n - at)
            return false;
        for (int i = 0; i < colourCount; ++i, at += 3)
            colours[i] = qRgb(p[at], p[at + 1], p[at + 2]);
        return true;
    };
    if ((p[10] & 0x80) && !readColours(p[10]))
        return {};

    std::vector<uchar>* indices = nullptr;
    int transparent = -1;
    while (at < n) {
        const uchar block = p[at++];
        if (block == 0x3B) // trailer
            break;
        if (block == 0x21) { // extension: its label, then sub-blocks
            if (at + 1 >= n)
                return {};
            const uchar label = p[at++];
            // The graphic control block: whether one colour stands for transparent pixels.
            if (label == 0xF9 && !indices) {
                if (n - at < 6 || p[at] != 4)
                    return {};
                transparent = p[at + 1] & 1 ? p[at + 4] : -1;
            }
            if (!subBlocks(p, n, at, nullptr))
                return {};
            continue;
        }
        // One picture only, covering the whole area, not interlaced; an animation goes to Qt.
        if (block != 0x2C || indices || n - at < 10)
            return {};
        const uchar flags = p[at + 8];
        if (littleEndian16(p + at) != 0 || littleEndian16(p + at + 2) != 0 ||
            littleEndian16(p + at + 4) != width || littleEndian16(p + at + 6) != height ||
            (flags & 0x40))
            return {};
        at += 9;
        if ((flags & 0x80) && !readColours(flags))
            return {};
        if (colourCount == 0 || at >= n)
            return {};
        const int minimumBits = p[at++];
        if (minimumBits < 2 || minimumBits > 8)
            return {};
        QByteArray codes;
        if (!subBlocks(p, n, at, &codes))
            return {};
        indices = &scratch(size_t(width) * height);
        if (!unpackLzw(codes, minimumBits, *indices))
            return {};
    }
    if (!indices)
        return {};

    // As Qt's reader has it: straight ARGB where a colour is transparent, its pixels all zero.
    QImage image(int(width), int(height),
                 transparent < 0 ? QImage::Format_RGB32 : QImage::Format_ARGB32);
    if (image.isNull())
        return {};
    if (transparent >= 0)
        colours[transparent] = 0;
    const uchar* index = indices->data();
    for (int y = 0; y < int(height); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (quint32 x = 0; x < width; ++x, ++index) {
            if (*index >= colourCount)
                return {};
            row[x] = colours[*index];
        }
    }
    return image;
}

} // namespace

QImage readPlainPicture(const QByteArray& bytes, QSize largest) {
#if LAUTGARTEN_LIBDEFLATE
    if (bytes.startsWith(QByteArrayLiteral("\x89PNG\r\n\x1a\n")))
        return readPlainPng(bytes, largest);
#endif
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        return readPlainGif(bytes, largest);
    return {};
}

} // namespace platform
