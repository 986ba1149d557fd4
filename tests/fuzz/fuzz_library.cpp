// SPDX-License-Identifier: Apache-2.0
// libFuzzer target over everything that reads the picture library: the folder listing and
// picture loading, fed with arbitrary files.
//
// Input: a count byte, then for each file a name byte (picks a name, hidden ones included),
// a two-byte length and that many bytes of content.

#include "platform/filelistbox.h"
#include "platform/picture.h"
#include "platform/runtimeerror.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

namespace {

const char* const Names[] = {"a.gif",    "b.png",          "c.jpg", ".versteckt.gif",
                             "Ähre.png", "o\xcc\x88l.gif", "kein",  "d.bmp",
                             "e.ico",    "f.svg",          "g.GIF", "h h.png"};

QGuiApplication* app = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app = new QGuiApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir root;
    const QString folder = root.path() + QStringLiteral("/a");
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);

    size_t at = 0;
    const int files = size > 0 ? data[at++] % 6 : 0;
    for (int i = 0; i < files && at + 3 <= size; ++i) {
        const char* name = Names[data[at] % (sizeof Names / sizeof *Names)];
        const size_t length = std::min<size_t>(size - at - 3, data[at + 1] | data[at + 2] << 8);
        QFile file(folder + QLatin1Char('/') + QString::fromUtf8(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(reinterpret_cast<const char*>(data + at + 3), qint64(length));
        at += 3 + length;
    }

    platform::FileListBox list;
    try {
        list.setPath(folder);
        for (int16_t i = 0; i <= list.listCount(); ++i) {
            // Whole, and for a box as the game loads its pictures, which decodes only the part
            // the box shows.
            for (const QSize box : {QSize(), QSize(409, 337)}) {
                try {
                    const platform::Picture picture =
                        platform::LoadPicture(list.path() + QLatin1Char('/') + list.list(i), box);
                    if (picture.isNull())
                        std::abort(); // a picture that loads must have content
                } catch (const platform::RuntimeError& error) {
                    if (error.number() != platform::ErrorNumber::InvalidPicture &&
                        error.number() != platform::ErrorNumber::FileNotFound)
                        std::abort();
                }
            }
        }
    } catch (const platform::RuntimeError&) {
        std::abort(); // the folder exists: listing it must not fail
    }
    return 0;
}
