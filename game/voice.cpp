// SPDX-License-Identifier: Apache-2.0
#include "game/voice.h"

#include "platform/picture.h"

#include <QFileInfo>

namespace lautgarten::Voice {

namespace {

// The silences a teacher leaves between the pieces, so that the sound at the end stands alone.
constexpr int AfterPraise = 300;
constexpr int AfterWord = 400;
constexpr int BeforeSound = 300;
constexpr int AfterSound = 500;

// The file as it lies on disk (its name may be stored decomposed), or empty where there is none.
QString existing(const QString& path) {
    const QString onDisk = platform::resolveOnDisk(path);
    return QFileInfo(onDisk).isFile() ? onDisk : QString();
}

} // namespace

QString wordFile(const QString& picturePath) {
    const qsizetype dot = picturePath.lastIndexOf(QLatin1Char('.'));
    const qsizetype slash = picturePath.lastIndexOf(QLatin1Char('/'));
    return (dot > slash ? picturePath.left(dot) : picturePath) + QStringLiteral(".wav");
}

QString letterSoundFile(const QString& imagesPath, const QString& entry) {
    return imagesPath + QLatin1String(SoundsFolder) + QLatin1Char('/') + entry +
           QStringLiteral(".wav");
}

QString phraseFile(const QString& imagesPath, const QString& name) {
    return imagesPath + QLatin1String(PhrasesFolder) + QLatin1Char('/') + name +
           QStringLiteral(".wav");
}

QList<platform::SoundPiece> letterSound(const QString& imagesPath, const QString& entry) {
    const QString sound = existing(letterSoundFile(imagesPath, entry));
    return sound.isEmpty() ? QList<platform::SoundPiece>() : QList{platform::SoundPiece{sound}};
}

QList<platform::SoundPiece> word(const QString& picturePath) {
    const QString spoken = existing(wordFile(picturePath));
    return spoken.isEmpty() ? QList<platform::SoundPiece>() : QList{platform::SoundPiece{spoken}};
}

QList<platform::SoundPiece> feedback(bool right, const QString& imagesPath,
                                     const QString& picturePath, const QString& heard) {
    QList<platform::SoundPiece> pieces;
    const QString praise = existing(phraseFile(imagesPath, QLatin1String(Praise)));
    const QString spoken = existing(wordFile(picturePath));
    if (right && !praise.isEmpty())
        pieces.append({praise, AfterPraise});
    if (spoken.isEmpty())
        return pieces; // without its word, nothing can be said of it
    pieces.append({spoken, AfterWord});
    const QString lead = existing(phraseFile(imagesPath, QLatin1String(Lead)));
    const QString sound = existing(letterSoundFile(imagesPath, heard));
    if (lead.isEmpty() || sound.isEmpty())
        return pieces;
    pieces.append({lead, BeforeSound});
    pieces.append({sound, AfterSound});
    const QString again = existing(phraseFile(imagesPath, QLatin1String(Again)));
    if (!right && !again.isEmpty())
        pieces.append({again});
    return pieces;
}

} // namespace lautgarten::Voice
