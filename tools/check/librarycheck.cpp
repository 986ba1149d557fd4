// SPDX-License-Identifier: Apache-2.0
#include "tools/check/librarycheck.h"

#include "game/letters.h"
#include "game/names.h"
#include "game/voice.h"
#include "platform/filelistbox.h"
#include "platform/nativename.h"
#include "platform/picture.h"
#include "platform/runtimeerror.h"
#include "tools/check/soundfile.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QImage>
#include <QSet>
#include <algorithm>
#include <cstdint>
#include <new>

#ifndef Q_OS_WIN
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace lautgarten::check {

using platform::ErrorNumber;
using platform::RuntimeError;

namespace {

QString quoted(const QString& text) {
    return QStringLiteral("„") + text + QStringLiteral("“");
}

QString tooLarge(QSize size, QSize box) {
    return QStringLiteral("Das Bild ist %1 x %2 Pixel groß, das Bildfeld im Spiel nur %3 x %4 "
                          "Pixel. Das Spiel verkleinert Bilder nicht, es zeigt sie ab der linken "
                          "oberen Ecke; der Rest wird abgeschnitten. Bitte das Bild auf höchstens "
                          "%3 x %4 Pixel verkleinern.")
        .arg(size.width())
        .arg(size.height())
        .arg(box.width())
        .arg(box.height());
}

// Below this many pixels on its longer side a picture shows a child next to nothing: a placeholder
// of 1 x 1 saved from a web page, an icon.
constexpr int MinPictureSide = 64;

QString tooSmall(QSize size) {
    return QStringLiteral("Das Bild ist nur %1 x %2 Pixel groß; im Bildfeld sieht das Kind davon "
                          "fast nichts und erkennt nicht, was es zeigen soll. Bitte ein größeres "
                          "Bild nehmen, mindestens %3 Pixel auf der längeren Seite.")
        .arg(size.width())
        .arg(size.height())
        .arg(MinPictureSide);
}

QString unreadable(const RuntimeError& error) {
    return QStringLiteral("Das Spiel kann diese Datei nicht als Bild laden (Laufzeitfehler %1: %2) "
                          "und bricht ab, sobald es sie zeigen will. Bitte die Datei neu kopieren "
                          "(eine Kopie, die abgebrochen ist, endet zu früh), als PNG, JPEG oder "
                          "GIF neu speichern oder durch ein anderes Bild ersetzen.")
        .arg(int(error.number()))
        .arg(error.text());
}

QString plain() {
    return QStringLiteral("Alle Pixel dieses Bildes haben dieselbe Farbe: Das Kind sieht im "
                          "Bildfeld nur eine leere Fläche und erkennt nichts darauf (so zeigt das "
                          "Spiel auch ein GIF-Bild, das außerhalb seiner eigenen Fläche liegt). "
                          "Bitte das Bild in einem Bildbetrachter ansehen und durch eines "
                          "ersetzen, das etwas zeigt.");
}

// Whether every pixel of a picture as the game shows it has the same colour.
bool onePlainColour(const QPixmap& pixmap) {
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QRgb first = image.isNull() ? 0 : image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        if (std::any_of(line, line + image.width(), [first](QRgb pixel) { return pixel != first; }))
            return false;
    }
    return true;
}

// What lies there instead of a file of its own bytes, as a sentence begins it.
QString notAFile(const QString& path) {
    QString kind = QStringLiteral("etwas anderes als eine Datei");
#ifndef Q_OS_WIN
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) == 0) {
        if (S_ISFIFO(info.st_mode))
            kind = QStringLiteral("eine Pipe (FIFO)");
        else if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode))
            kind = QStringLiteral("ein Gerät");
        else if (S_ISSOCK(info.st_mode))
            kind = QStringLiteral("ein Socket");
    }
#endif
    const QFileInfo entry(path);
    if (entry.isSymLink())
        return QStringLiteral("Das ist eine Verknüpfung auf %1, %2, keine Bilddatei")
            .arg(platform::pathOnDisk(entry.symLinkTarget()), kind);
    return QStringLiteral("Das ist %1, keine Bilddatei").arg(kind);
}

// What the checker's account, or every account, may not do with a folder or file of the library.
struct Rights {
    bool read = false;   // r: list a folder, read a file
    bool search = false; // x: open what lies in a folder
    bool here = false;   // the account running the check meets it itself
    bool lacking() const { return read || search; }
};

// Asks the system rather than reading the permission bits alone: an administrator passes them
// where others do not. Bits that grant a right to nobody at all count as well, so that an
// administrator's check still finds a folder unpacked without "x".
Rights rightsOf([[maybe_unused]] const QString& path, [[maybe_unused]] bool folder,
                [[maybe_unused]] bool needsRead) {
    Rights rights;
#ifndef Q_OS_WIN
    const QByteArray native = QFile::encodeName(path);
    struct stat info;
    if (::stat(native.constData(), &info) != 0)
        return rights;
    const auto nobody = [&info](mode_t bits) { return (info.st_mode & bits) == 0; };
    if (needsRead) {
        bool denied = false;
        if (folder) {
            DIR* dir = opendir(native.constData());
            denied = !dir && errno == EACCES;
            if (dir)
                closedir(dir);
        } else {
            const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
            denied = fd < 0 && errno == EACCES;
            if (fd >= 0)
                ::close(fd);
        }
        rights.read = denied || nobody(S_IRUSR | S_IRGRP | S_IROTH);
        rights.here = rights.here || denied;
    }
    if (folder) {
        struct stat inside;
        const bool denied = ::stat((native + "/.").constData(), &inside) != 0 && errno == EACCES;
        rights.search = denied || nobody(S_IXUSR | S_IXGRP | S_IXOTH);
        rights.here = rights.here || denied;
    }
#endif
    return rights;
}

// How the rights are given back: a command for the terminal, or the way on Windows.
QString grant(const QString& path, bool folder) {
#ifdef Q_OS_WIN
    Q_UNUSED(folder);
    return QStringLiteral("Bitte in den Eigenschaften von %1 unter „Sicherheit“ allen Benutzern "
                          "das Lesen erlauben.")
        .arg(QDir::toNativeSeparators(platform::pathOnDisk(path)));
#else
    QString quotedPath = platform::pathOnDisk(path);
    quotedPath.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QStringLiteral("Abhilfe (im Terminal, nötigenfalls mit sudo davor): chmod %1 '%2'")
        .arg(folder ? QStringLiteral("a+rx") : QStringLiteral("a+r"), quotedPath);
#endif
}

QString deniedFolder(const QString& path, const Rights& rights, const QString& letter) {
    const QString who = rights.here ? QStringLiteral("Dem Benutzerkonto, unter dem die Prüfung "
                                                     "läuft, fehlt")
                                    : QStringLiteral("Allen Benutzerkonten fehlt");
    QString what;
    if (rights.search)
        what =
            QStringLiteral("%1 auf diesen Ordner das Recht „Ausführen“ (x)%2, ohne das sich "
                           "keine Datei darin öffnen lässt (so kommt ein Ordner manchmal aus "
                           "einem ZIP-Archiv).")
                .arg(who, rights.read ? QStringLiteral(" und das Recht „Lesen“ (r)") : QString());
    else
        what = QStringLiteral("%1 auf diesen Ordner das Recht „Lesen“ (r), ohne das sich nicht "
                              "nachsehen lässt, welche Bilder darin liegen.")
                   .arg(who);
    const QString game =
        letter.isEmpty()
            ? QStringLiteral("Das Spiel bricht mit „Zugriff verweigert“ ab, sobald es ein Bild "
                             "daraus braucht.")
            : QStringLiteral("Das Spiel bricht mit „Zugriff verweigert“ ab, sobald es ein Bild "
                             "für %1 braucht.")
                  .arg(quoted(letter));
    return what + QLatin1Char(' ') + game + QLatin1Char(' ') + grant(path, true);
}

QString deniedFile(const QString& path, const Rights& rights) {
    return QStringLiteral("%1 das Recht „Lesen“ (r) auf diese Datei. Das Spiel bricht mit "
                          "„Zugriff verweigert“ ab, sobald es dieses Bild zeigen will. %2")
        .arg(rights.here || !rights.lacking()
                 ? QStringLiteral("Dem Benutzerkonto, unter dem die Prüfung läuft, fehlt")
                 : QStringLiteral("Allen Benutzerkonten fehlt"),
             grant(path, false));
}

// Whether two names lead to the same folder: on a stick formatted for Windows "A" is "a".
bool sameEntry(const QString& a, const QString& b) {
#ifdef Q_OS_WIN
    return QFileInfo(a).canonicalFilePath().compare(QFileInfo(b).canonicalFilePath(),
                                                    Qt::CaseInsensitive) == 0;
#else
    struct stat first, second;
    return ::stat(QFile::encodeName(a).constData(), &first) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
#endif
}

// A folder name as a person would say it: in one case, one Unicode form, without blanks around
// it, umlauts written out as a keyboard without them writes them.
QString spoken(const QString& name) {
    QString text = name.normalized(QString::NormalizationForm_C).trimmed().toCaseFolded();
    text.replace(QStringLiteral("ä"), QStringLiteral("ae"));
    text.replace(QStringLiteral("ö"), QStringLiteral("oe"));
    text.replace(QStringLiteral("ü"), QStringLiteral("ue"));
    text.replace(QStringLiteral("ß"), QStringLiteral("ss"));
    return text;
}

// How many letters must change, go or come for one name to become the other.
int editDistance(const QString& a, const QString& b) {
    QList<int> row(b.size() + 1);
    for (int j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (int i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = i;
        for (int j = 1; j <= b.size(); ++j) {
            const int above = row[j];
            row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// The folders in images/ that the game reads: one for each letter, the letter pictures, the faces,
// and the sounds of the letters and of the sentences.
QStringList foldersRead() {
    return letterEntries() + QStringList{QStringLiteral("buchstaben"), QStringLiteral("special"),
                                         QLatin1String(Voice::SoundsFolder),
                                         QLatin1String(Voice::PhrasesFolder)};
}

// Walks the library in the order the game meets it and collects what it would trip over.
class Checker {
public:
    explicit Checker(const QString& root)
        : root_(QDir::cleanPath(root))
        , images_(root_ + QStringLiteral("/images/")) {}

    Result run() {
        result_.letters = int(letterEntries().size());
        // A library that speaks at all is told what it lacks; one without any sound just once.
        speaks_ = QDirIterator(images_, {QStringLiteral("*.wav")}, QDir::Files,
                               QDirIterator::Subdirectories)
                      .hasNext();
        if (!QFileInfo(images_).isDir()) {
            report(images_.chopped(1),
                   QStringLiteral("Die Bildersammlung fehlt: Im Ordner %1 liegt kein Ordner "
                                  "„images“; das Spiel bricht gleich auf der ersten Seite ab. "
                                  "Bitte den Ordner „images“ des Spiels hierher kopieren.")
                       .arg(platform::pathOnDisk(root_)));
            return result_;
        }
        // Nothing in the library can be opened without "x" on images/ itself.
        if (!reachable(images_.chopped(1), false, {}))
            return result_;
        const bool letterPictures = folderPresent(
            QStringLiteral("buchstaben"),
            QStringLiteral("Der Ordner mit den Buchstabenbildern fehlt; das Spiel bricht gleich "
                           "auf der ersten Seite ab. Bitte den Ordner anlegen und für jeden "
                           "Buchstaben ein Bild hineinlegen."));
        for (const QString& letter : letterEntries()) {
            if (letterPictures)
                checkLetterPicture(letter);
            checkLetterFolder(letter);
        }
        if (folderPresent(QStringLiteral("special"),
                          QStringLiteral("Der Ordner mit dem lachenden und dem weinenden Gesicht "
                                         "(lachi.gif, weini.gif) fehlt; das Spiel bricht nach "
                                         "der ersten Antwort ab. Bitte den Ordner mit beiden "
                                         "Bildern wieder anlegen."))) {
            checkPicture(images_ + QStringLiteral("special/lachi.gif"), FaceBox,
                         QStringLiteral("Das lachende Gesicht fehlt; das Spiel bricht ab, sobald "
                                        "ein Kind richtig antwortet. Bitte die Datei wieder "
                                        "hineinlegen."));
            checkPicture(images_ + QStringLiteral("special/weini.gif"), FaceBox,
                         QStringLiteral("Das weinende Gesicht fehlt; das Spiel bricht ab, sobald "
                                        "ein Kind falsch antwortet. Bitte die Datei wieder "
                                        "hineinlegen."));
        }
        checkSpeech();
        reportFoldersNeverRead();
        return result_;
    }

private:
    QString relative(const QString& path) const {
        return path.startsWith(root_ + QLatin1Char('/')) ? path.mid(root_.size() + 1) : path;
    }

    void report(const QString& path, const QString& message) {
        result_.problems.append({relative(path), message});
    }

    // Names a folder that lacks a right the game needs; false where this account cannot go on
    // into it either.
    bool reachable(const QString& folder, bool listed, const QString& letter) {
        const Rights rights = rightsOf(folder, true, listed);
        if (rights.lacking())
            report(folder, deniedFolder(folder, rights, letter));
        return !rights.here;
    }

    bool folderPresent(const QString& name, const QString& missing) {
        const QString onDisk = platform::resolveOnDisk(images_ + name);
        if (QFileInfo(onDisk).isDir())
            return reachable(onDisk, false, {});
        report(onDisk, missing);
        return false;
    }

    // Loads the picture exactly as the game would and measures it against the box it goes into.
    void checkPicture(const QString& path, QSize box, const QString& missing) {
        const QString onDisk = platform::resolveOnDisk(path);
        try {
            const platform::Picture picture = platform::LoadPicture(path, box);
            const QSize size = picture.size;
            if (size.width() > box.width() || size.height() > box.height())
                report(onDisk, tooLarge(size, box));
            else if (std::max(size.width(), size.height()) < MinPictureSide)
                report(onDisk, tooSmall(size));
            else if (onePlainColour(picture.pixmap))
                report(onDisk, plain());
            if (const Rights rights = rightsOf(onDisk, false, true); rights.lacking())
                report(onDisk, deniedFile(onDisk, rights));
        } catch (const RuntimeError& error) {
            const QFileInfo file(onDisk);
            if (error.number() == ErrorNumber::PermissionDenied)
                report(onDisk, deniedFile(onDisk, rightsOf(onDisk, false, true)));
            else if (error.number() == ErrorNumber::FileNotFound ||
                     error.number() == ErrorNumber::PathNotFound)
                report(path, missing);
            else if (file.exists() && !file.isFile())
                report(onDisk, notAFile(onDisk) +
                                   QStringLiteral(". Das Spiel liest daraus kein Bild und bricht "
                                                  "ab, sobald es sie zeigen will. Bitte den "
                                                  "Eintrag löschen und das Bild selbst "
                                                  "hineinlegen."));
            else if (file.size() > platform::MaxPictureBytes)
                report(onDisk, QStringLiteral("Die Datei ist %1 MB groß; kein Bild ist größer als "
                                              "%2 MB. Das Spiel liest sie nicht und bricht ab, "
                                              "sobald es sie zeigen will. Bitte sie durch ein "
                                              "Bild ersetzen.")
                                   .arg(file.size() >> 20)
                                   .arg(platform::MaxPictureBytes >> 20));
            else
                report(onDisk, unreadable(error));
        } catch (const std::bad_alloc&) {
            report(onDisk, unreadable(RuntimeError(ErrorNumber::OutOfMemory, onDisk)));
        }
    }

    void checkLetterPicture(const QString& letter) {
        checkPicture(images_ + QStringLiteral("buchstaben/") + letter + QStringLiteral(".gif"),
                     LetterBox,
                     QStringLiteral("Das Buchstabenbild fehlt; das Spiel bricht ab, sobald es %1 "
                                    "zeigen will. Bitte ein Bild des Buchstabens unter diesem "
                                    "Namen speichern.")
                         .arg(quoted(letter)));
    }

    // The game lists the folder and may pick any file of the list, so every one must load.
    void checkLetterFolder(const QString& letter) {
        const QString folder = images_ + letter;
        platform::FileListBox list;
        if (QFileInfo(platform::resolveOnDisk(folder)).isDir() &&
            !reachable(platform::resolveOnDisk(folder), true, letter))
            return;
        try {
            list.setPath(folder);
        } catch (const RuntimeError& error) {
            const QString onDisk = platform::resolveOnDisk(folder);
            if (error.number() == ErrorNumber::Overflow)
                report(onDisk,
                       QStringLiteral("In diesem Ordner liegen %1 Dateien; das Spiel kann aber "
                                      "höchstens %2 Dateien in einem Ordner zählen und bricht "
                                      "sonst ab. Bitte Dateien löschen oder verschieben, bis es "
                                      "höchstens %2 sind.")
                           .arg(QDir(onDisk).entryList(QDir::Files).size())
                           .arg(INT16_MAX));
            else if (QFileInfo::exists(onDisk))
                report(onDisk, QStringLiteral("Hier muss ein Ordner mit Bildern für %1 stehen, "
                                              "es ist aber eine Datei. Das Spiel bricht ab, "
                                              "sobald es ein Bild für %1 braucht. Bitte die "
                                              "Datei umbenennen und den Ordner anlegen.")
                                   .arg(quoted(letter)));
            else
                report(onDisk, QStringLiteral("Der Ordner für %1 fehlt; das Spiel bricht ab, "
                                              "sobald es ein Bild für %1 braucht. Bitte den "
                                              "Ordner anlegen und Bilder von Dingen "
                                              "hineinlegen, deren Name mit %1 anfängt.")
                                   .arg(quoted(letter)));
            return;
        }

        if (list.listCount() == 0)
            report(list.path(),
                   QStringLiteral("In diesem Ordner liegt kein Bild, das das Spiel "
                                  "nehmen kann; es bricht ab, sobald es ein Bild für %1 "
                                  "braucht. Bitte Bilder von Dingen hineinlegen, "
                                  "deren Name mit %1 anfängt.")
                       .arg(quoted(letter)));
        QSet<QString> listed;
        for (int16_t i = 0; i < list.listCount(); ++i) {
            listed.insert(list.list(i));
            checkPicture(list.path() + QLatin1Char('/') + list.list(i), AnswerBox,
                         QStringLiteral("Die Datei ist während der Prüfung verschwunden. Bitte "
                                        "die Prüfung wiederholen."));
        }
        result_.pictures += list.listCount();
        checkCompanions(list.path(), listed);
        reportPassedOver(list.path(), listed);
        for (const QString& name : platform::undecodableEntries(list.path()))
            report(list.path() + QLatin1Char('/') + name,
                   QStringLiteral("Der Name dieser Datei ist nicht in UTF-8 geschrieben (sie kommt "
                                  "wohl von einem Windows-Rechner oder aus einem alten "
                                  "ZIP-Archiv); das Spiel kann sie darum nicht öffnen und "
                                  "übergeht sie. Bitte die Datei umbenennen und dabei den Namen "
                                  "neu eintippen."));
    }

    // Whatever lies in a letter folder beside the listed files never reaches a page.
    void reportPassedOver(const QString& folder, const QSet<QString>& listed) {
        const QFileInfoList entries = QDir(folder).entryInfoList(
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
        for (const QFileInfo& entry : entries) {
            if (listed.contains(entry.fileName()) ||
                (entry.isFile() && platform::isCompanionFile(entry.fileName()) &&
                 !entry.fileName().startsWith(QLatin1Char('.'))))
                continue;
            report(entry.filePath(),
                   passedOver(entry, folder).replace(QStringLiteral("%1"), relative(folder)));
        }
    }

    void hint(const QString& path, const QString& message) {
        result_.problems.append({relative(path), message, true});
    }

    // A sound file the game would try to play: it must play, and should be short.
    void checkSound(const QString& path) {
        const SoundFile sound = readSoundFile(path);
        if (!sound.problem.isEmpty()) {
            report(path, QStringLiteral("Das Spiel kann diesen Ton nicht abspielen: %1 Bitte als "
                                        "WAV-Datei (PCM, 16 Bit) speichern; wie, steht in der "
                                        "Anleitung unter „Eigene Töne aufnehmen“.")
                             .arg(sound.problem));
            return;
        }
        const int seconds = (sound.lengthMs + 500) / 1000;
        if (seconds > 5)
            hint(path, QStringLiteral("Der Ton dauert %1 Sekunden; ein Wort dauert kaum länger "
                                      "als eine. Vermutlich ist Stille davor oder danach "
                                      "mit aufgenommen; bitte abschneiden.")
                           .arg(seconds));
    }

    // What lies beside the pictures of a letter folder to voice or name them.
    void checkCompanions(const QString& folder, const QSet<QString>& pictures) {
        QSet<QString> pictureNames; // without their endings
        for (const QString& picture : pictures)
            pictureNames.insert(baseName(picture));
        // The folder is read once: a folder may hold thousands of pictures.
        const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files, QDir::Name);
        QSet<QString> files;
        for (const QFileInfo& entry : entries)
            files.insert(entry.fileName().normalized(QString::NormalizationForm_C));
        QStringList unspoken;
        for (const QString& picture : pictures) {
            if (!files.contains(Voice::wordFile(picture).normalized(QString::NormalizationForm_C)))
                unspoken.append(picture);
        }
        result_.words += int(pictures.size() - unspoken.size());
        for (const QFileInfo& entry : entries) {
            const QString name = entry.fileName();
            if (!platform::isCompanionFile(name) || name.startsWith(QLatin1Char('.')))
                continue;
            const bool beside = pictureNames.contains(baseName(name));
            const QString ending = entry.suffix().toLower();
            if (ending == QLatin1String("txt")) {
                checkNames(entry.filePath(), beside);
            } else if (ending != QLatin1String("wav")) {
                report(entry.filePath(),
                       QStringLiteral("Das Spiel spielt nur WAV-Dateien ab; diese %1-Datei bleibt "
                                      "stumm. Bitte in eine WAV-Datei gleichen Namens umwandeln; "
                                      "wie, steht in der Anleitung unter „Eigene Töne "
                                      "aufnehmen“.")
                           .arg(ending.toUpper()));
            } else if (!beside) {
                hint(entry.filePath(),
                     QStringLiteral("Neben diesem Ton liegt kein Bild gleichen Namens; das Spiel "
                                    "spielt ihn nie. Bitte so benennen wie das Bild, dessen Wort "
                                    "er spricht (Apfel.png, Apfel.wav), sonst löschen."));
            } else {
                checkSound(entry.filePath());
            }
        }
        if (!unspoken.isEmpty() && speaks_) {
            std::sort(unspoken.begin(), unspoken.end());
            hint(folder, QStringLiteral("Zu %1 von %2 Bildern fehlt das gesprochene Wort (%3); "
                                        "wenn die Maus darauf ruht, sagt das Spiel nichts. Eine "
                                        "WAV-Datei gleichen Namens daneben legen (Apfel.wav neben "
                                        "Apfel.png).")
                             .arg(unspoken.size())
                             .arg(pictures.size())
                             .arg(unspoken.join(QStringLiteral(", "))));
        }
    }

    // The other names of a picture, and the sound its word begins with.
    void checkNames(const QString& path, bool beside) {
        if (!beside) {
            hint(path, QStringLiteral("Neben dieser Textdatei liegt kein Bild gleichen Namens; "
                                      "das Spiel liest sie nie. Bitte so benennen wie das Bild, "
                                      "dessen andere Namen sie nennt (Socken.png, Socken.txt), "
                                      "sonst löschen."));
            return;
        }
        QFile file(path);
        if (file.size() > 64 * 1024 || !file.open(QIODevice::ReadOnly)) {
            hint(path, QStringLiteral("Diese Textdatei ist zu groß oder lässt sich nicht lesen; "
                                      "das Spiel übergeht sie."));
            return;
        }
        QStringList problems;
        PictureNames::parse(QString::fromUtf8(file.readAll()), &problems);
        for (const QString& line : problems)
            hint(path, QStringLiteral("Die Zeile „%1“ nennt keinen Namen, der mit einem "
                                      "Buchstaben des Spiels beginnt, und kein „Anlaut: "
                                      "<Buchstabe>“ mit einem Buchstaben des Spiels; das Spiel "
                                      "übergeht sie.")
                           .arg(line));
    }

    // The letters' sounds and the feedback's phrases, in their folders of their own.
    void checkSpeech() {
        const auto checkFolder = [this](const QString& name, const QStringList& wanted,
                                        const QString& what) {
            const QString folder = platform::resolveOnDisk(images_ + name);
            QStringList missing;
            for (const QString& file : wanted) {
                const QString path = platform::resolveOnDisk(folder + QLatin1Char('/') + file);
                if (QFileInfo(path).isFile())
                    checkSound(path);
                else
                    missing.append(file);
            }
            if (!QFileInfo(folder).isDir()) {
                if (speaks_)
                    hint(folder,
                         QStringLiteral("Der Ordner fehlt; das Spiel sagt %1 nicht.").arg(what));
                return;
            }
            if (!missing.isEmpty() && speaks_)
                hint(folder,
                     (missing.size() == 1
                          ? QStringLiteral("Es fehlt %1; das Spiel sagt diesen Ton nicht.")
                          : QStringLiteral("Es fehlen %1; das Spiel sagt diese Töne nicht."))
                         .arg(missing.join(QStringLiteral(", "))));
            for (const QFileInfo& entry :
                 QDir(folder).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
                if (!wanted.contains(entry.fileName().normalized(QString::NormalizationForm_C)))
                    hint(entry.filePath(),
                         QStringLiteral("Das Spiel spielt nur %1 und übergeht diesen Eintrag.")
                             .arg(wanted.join(QStringLiteral(", "))));
            }
        };
        QStringList letterSounds;
        for (const QString& entry : letterEntries())
            letterSounds.append(entry + QStringLiteral(".wav"));
        checkFolder(QLatin1String(Voice::SoundsFolder), letterSounds,
                    QStringLiteral("die Laute der Buchstaben"));
        QStringList phrases;
        for (const char* phrase : {Voice::Praise, Voice::Lead, Voice::Again})
            phrases.append(QLatin1String(phrase) + QStringLiteral(".wav"));
        checkFolder(QLatin1String(Voice::PhrasesFolder), phrases,
                    QStringLiteral("die Sätze nach einer Antwort"));
        if (!speaks_)
            hint(images_.chopped(1),
                 QStringLiteral("In der Bildersammlung liegt kein Ton; das Spiel bleibt stumm. "
                                "Töne legt man neben die Bilder (Apfel.wav neben Apfel.png), die "
                                "Laute nach images/laute, die Sätze nach images/saetze."));
    }

    static QString baseName(const QString& file) {
        const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
        return (dot > 0 ? file.left(dot) : file).normalized(QString::NormalizationForm_C);
    }

    // Why the game passes over an entry of a letter folder, and what to do; %1 stands for the
    // folder.
    static QString passedOver(const QFileInfo& entry, const QString& folder) {
        const QString leftover = leftBehind(entry, folder);
        if (!leftover.isEmpty())
            return leftover;
        const bool hidden = entry.fileName().startsWith(QLatin1Char('.'));
        if (hidden && entry.isDir())
            return QStringLiteral("Versteckter Ordner (der Name beginnt mit einem Punkt): "
                                  "Das Spiel übergeht ihn samt Inhalt. Bilder daraus bitte "
                                  "direkt in den Ordner %1 legen, sonst kann er weg.");
        if (hidden)
            return QStringLiteral("Versteckte Datei (der Name beginnt mit einem Punkt): "
                                  "Das Spiel übergeht sie. Soll sie ein Bild für das Spiel "
                                  "sein, bitte den Punkt am Namensanfang entfernen, sonst "
                                  "die Datei löschen.");
        if (entry.isDir())
            return QStringLiteral("Unterordner: Das Spiel nimmt nur Bilder, die direkt im "
                                  "Ordner %1 liegen, und übergeht diesen Ordner samt "
                                  "Inhalt. Bitte die Bilder daraus direkt in %1 legen.");
        if (platform::hiddenBySystem(entry.filePath()))
            return QStringLiteral("Diese Datei ist unter Windows als versteckt oder als "
                                  "Systemdatei markiert; das Spiel übergeht sie, wie der "
                                  "Explorer sie nicht zeigt. Soll sie ein Bild für das "
                                  "Spiel sein, bitte die Markierung entfernen (in der "
                                  "Eingabeaufforderung: attrib -h -s und der Name), sonst "
                                  "die Datei löschen.");
        if (entry.exists()) // a pipe, a device, or a link to one
            return notAFile(entry.filePath()) +
                   QStringLiteral(". Das Spiel übergeht diesen Eintrag. Bitte ihn löschen und "
                                  "das Bild selbst hineinlegen.");
        return QStringLiteral("Das Spiel übergeht diesen Eintrag, weil er keine "
                              "gewöhnliche Datei ist (etwa eine Verknüpfung, deren "
                              "Ziel fehlt). Bitte ihn löschen und das Bild selbst "
                              "hineinlegen.");
    }

    // What Windows or macOS left there by itself, as a teacher would tell it; empty for anything
    // else.
    static QString leftBehind(const QFileInfo& entry, const QString& folder) {
        const QString name = entry.fileName();
        switch (platform::leftoverOf(name)) {
        case platform::Leftover::None:
            return {};
        case platform::Leftover::Windows:
            return QStringLiteral("Diese Datei legt Windows von selbst in Ordner mit Bildern (%1). "
                                  "Sie ist kein Bild; das Spiel übergeht sie. Sie kann gelöscht "
                                  "werden.")
                .arg(name.compare(QLatin1String("Thumbs.db"), Qt::CaseInsensitive) == 0
                         ? QStringLiteral("Vorschaubilder für den Explorer")
                         : QStringLiteral("Einstellungen der Ordneransicht"));
        case platform::Leftover::MacOS:
            break;
        }
        if (entry.isDir())
            return QStringLiteral("Diesen Ordner legt macOS in ZIP-Archive; er enthält keine "
                                  "Bilder, nur Zusatzangaben des Macs. Das Spiel übergeht ihn "
                                  "samt Inhalt. Er kann gelöscht werden.");
        if (name.startsWith(QLatin1String("._"))) {
            const QString partner = name.mid(2);
            return QStringLiteral(
                       "Diese Datei legt macOS beim Kopieren auf einen Stick oder in ein "
                       "ZIP-Archiv neben %1 an. Sie ist kein Bild, sondern hält nur "
                       "Zusatzangaben des Macs zu %1; das Spiel übergeht sie. Sie kann "
                       "gelöscht werden (nicht umbenennen: auch ohne den Punkt wäre "
                       "sie kein Bild)%2.")
                .arg(quoted(partner),
                     QFileInfo::exists(folder + QLatin1Char('/') + partner)
                         ? QString()
                         : QStringLiteral("; das Bild %1 selbst fehlt hier").arg(quoted(partner)));
        }
        return QStringLiteral("Diese Datei legt der Finder von macOS in jeden Ordner, den er "
                              "zeigt (Einstellungen der Ordneransicht). Sie ist kein Bild; das "
                              "Spiel übergeht sie. Sie kann gelöscht werden.");
    }

    // Every folder in images/ beside those the game reads lies there for nothing: often one of
    // them as another computer wrote it ("A" beside "a", an "ö" in another Unicode form).
    void reportFoldersNeverRead() {
        QStringList read; // as on disk
        for (const QString& name : foldersRead()) {
            const QString onDisk = platform::resolveOnDisk(images_ + name);
            if (QFileInfo(onDisk).isDir())
                read.append(onDisk);
        }
        const QFileInfoList folders = QDir(images_).entryInfoList(
            QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
        for (const QFileInfo& folder : folders) {
            const QString path = folder.filePath();
            if (std::any_of(read.cbegin(), read.cend(),
                            [&path](const QString& used) { return sameEntry(path, used); }))
                continue;
            if (platform::leftoverOf(folder.fileName()) != platform::Leftover::None) {
                report(path, leftBehind(folder, images_));
                continue;
            }
            report(path, neverRead(folder.fileName()));
        }
    }

    QString neverRead(const QString& name) const {
        const QString said = spoken(name);
        QString meant, how;
        int nearest = 3;
        bool alone = false;
        for (const QString& wanted : foldersRead()) {
            QString reason;
            int distance = 0;
            if (name.normalized(QString::NormalizationForm_C) == wanted)
                reason = QStringLiteral("derselbe Name, nur in einer anderen Unicode-Form "
                                        "gespeichert, wie etwa ein Mac sie schreibt");
            else if (name.normalized(QString::NormalizationForm_C).toCaseFolded() == wanted)
                reason = QStringLiteral("derselbe Name in anderer Groß- und Kleinschreibung; das "
                                        "Spiel unterscheidet sie");
            else if (said == spoken(wanted))
                reason = QStringLiteral("derselbe Name, anders geschrieben");
            else if (std::min(said.size(), wanted.size()) >= 2 &&
                     (distance = editDistance(said, spoken(wanted))) <=
                         (wanted.size() >= 6 ? 2 : 1))
                reason = QStringLiteral("fast derselbe Name");
            else
                continue;
            if (distance < nearest) {
                nearest = distance;
                meant = wanted;
                how = reason;
                alone = true;
            } else if (distance == nearest) {
                alone = false; // two are as near: no guess
            }
        }
        const QString start = QStringLiteral("Diesen Ordner liest das Spiel nie; was darin liegt, "
                                             "kommt in keinem Spiel vor.");
        if (meant.isEmpty() || !alone) {
            QStringList others = foldersRead().mid(letterEntries().size());
            for (QString& other : others)
                other = quoted(other);
            const QString last = others.takeLast();
            return start +
                   QStringLiteral(" Das Spiel liest nur die Ordner der Buchstaben (%1), %2 und "
                                  "%3. Bilder daraus bitte in den Ordner des Buchstabens legen, "
                                  "mit dem ihr Name anfängt, und den Ordner dann löschen.")
                       .arg(letterEntries().join(QStringLiteral(", ")),
                            others.join(QStringLiteral(", ")), last);
        }
        const QString onDisk = platform::resolveOnDisk(images_ + meant);
        if (QFileInfo(onDisk).isDir())
            return start + QStringLiteral(" Gemeint ist wohl %1 (%2), den es gleich daneben "
                                          "gibt. Bitte den Inhalt nach %3 verschieben und diesen "
                                          "Ordner dann löschen.")
                               .arg(quoted(meant), how, relative(onDisk));
        return start + QStringLiteral(" Gemeint ist wohl %1 (%2). Bitte den Ordner in %1 "
                                      "umbenennen.")
                           .arg(quoted(meant), how);
    }

    const QString root_;
    const QString images_;
    Result result_;
    bool speaks_ = false; // whether the library holds any sound file
};

} // namespace

// The folder stays as it was named: it may be ".", the working folder entered by its bytes,
// which Qt could not name absolutely.
QString libraryRoot(const QString& folder) {
    const QString cleaned = QDir::cleanPath(folder);
    if (!QFileInfo(cleaned + QStringLiteral("/images")).isDir() &&
        QFileInfo(QFileInfo(cleaned).absoluteFilePath()).fileName() == QLatin1String("images"))
        return QDir::cleanPath(cleaned + QStringLiteral("/.."));
    return cleaned;
}

Result checkLibrary(const QString& root) {
    return Checker(root).run();
}

} // namespace lautgarten::check
