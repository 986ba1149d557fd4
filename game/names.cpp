// SPDX-License-Identifier: Apache-2.0
#include "game/names.h"

#include "game/letters.h"
#include "game/sounds.h"
#include "platform/picture.h"

#include <QFile>
#include <QFileInfo>

namespace lautgarten {

namespace {

// Far more than any list of names: a file larger than this is no such list.
constexpr qint64 MaxNamesBytes = 64 * 1024;

const QString AnlautKey = QStringLiteral("anlaut:");

} // namespace

QString PictureNames::fileFor(const QString& picturePath) {
    const qsizetype dot = picturePath.lastIndexOf(QLatin1Char('.'));
    const qsizetype slash = picturePath.lastIndexOf(QLatin1Char('/'));
    return (dot > slash ? picturePath.left(dot) : picturePath) + QStringLiteral(".txt");
}

PictureNames PictureNames::of(const QString& picturePath) {
    const QString path = platform::resolveOnDisk(fileFor(picturePath));
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > MaxNamesBytes)
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return parse(QString::fromUtf8(file.read(MaxNamesBytes)));
}

PictureNames PictureNames::parse(const QString& text, QStringList* problems) {
    PictureNames names;
    // Notepad begins a UTF-8 file with a byte order mark.
    const QString body = text.startsWith(QChar(0xfeff)) ? text.mid(1) : text;
    for (const QString& raw : body.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed().normalized(QString::NormalizationForm_C);
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(AnlautKey, Qt::CaseInsensitive)) {
            const QString entry = line.mid(AnlautKey.size()).trimmed().toLower();
            if (letterEntries().contains(entry))
                names.anlaut = entry;
            else if (problems)
                problems->append(line);
            continue;
        }
        if (letterOfWord(line) != 0)
            names.others.append(line);
        else if (problems)
            problems->append(line);
    }
    return names;
}

bool PictureNames::soundLike(int16_t letter) const {
    if (letter < 1 || letter > LetterCount)
        return false;
    const QStringList page = Letters[std::size_t(letter - 1)].soundList();
    QList<int16_t> heard;
    for (const QString& name : others)
        heard.append(letterOfWord(name));
    if (!anlaut.isEmpty())
        heard.append(letterOfWord(anlaut));
    for (const int16_t other : heard) {
        if (other > 0 && firstSoundsMeet(page, Letters[std::size_t(other - 1)].soundList()))
            return true;
    }
    return false;
}

int16_t letterOfWord(const QString& word) {
    QString spelled = word.trimmed().normalized(QString::NormalizationForm_C).toLower();
    if (spelled.startsWith(QLatin1String("ph")))
        spelled.replace(0, 2, QStringLiteral("f"));
    else if (spelled.startsWith(QLatin1Char('c')) && !spelled.startsWith(QLatin1String("ch")))
        spelled.replace(0, 1, QStringLiteral("k"));
    int16_t best = 0;
    qsizetype length = 0;
    for (std::size_t i = 0; i < Letters.size(); ++i) {
        const QString entry = Letters[i].text();
        if (entry.size() > length && spelled.startsWith(entry)) {
            best = int16_t(i + 1);
            length = entry.size();
        }
    }
    return best;
}

} // namespace lautgarten
