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
#include <QSet>
#include <algorithm>
#include <cstdint>

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
        return result_;
    }

private:
    QString relative(const QString& path) const {
        return path.startsWith(root_ + QLatin1Char('/')) ? path.mid(root_.size() + 1) : path;
    }

    void report(const QString& path, const QString& message) {
        result_.problems.append({relative(path), message});
    }

    bool folderPresent(const QString& name, const QString& missing) {
        const QString onDisk = platform::resolveOnDisk(images_ + name);
        if (QFileInfo(onDisk).isDir())
            return true;
        report(onDisk, missing);
        return false;
    }

    // Loads the picture exactly as the game would and measures it against the box it goes into.
    void checkPicture(const QString& path, QSize box, const QString& missing) {
        try {
            const QSize size = platform::LoadPicture(path, box).size;
            if (size.width() > box.width() || size.height() > box.height())
                report(platform::resolveOnDisk(path), tooLarge(size, box));
            else if (std::max(size.width(), size.height()) < MinPictureSide)
                report(platform::resolveOnDisk(path), tooSmall(size));
        } catch (const RuntimeError& error) {
            if (error.number() == ErrorNumber::FileNotFound ||
                error.number() == ErrorNumber::PathNotFound)
                report(path, missing);
            else
                report(platform::resolveOnDisk(path), unreadable(error));
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
            const bool hidden = entry.fileName().startsWith(QLatin1Char('.'));
            QString message;
            if (hidden && entry.isDir())
                message = QStringLiteral("Versteckter Ordner (der Name beginnt mit einem Punkt): "
                                         "Das Spiel übergeht ihn samt Inhalt. Bilder daraus bitte "
                                         "direkt in den Ordner %1 legen, sonst kann er weg.");
            else if (hidden)
                message = QStringLiteral("Versteckte Datei (der Name beginnt mit einem Punkt): "
                                         "Das Spiel übergeht sie. Soll sie ein Bild für das Spiel "
                                         "sein, bitte den Punkt am Namensanfang entfernen, sonst "
                                         "die Datei löschen.");
            else if (entry.isDir())
                message = QStringLiteral("Unterordner: Das Spiel nimmt nur Bilder, die direkt im "
                                         "Ordner %1 liegen, und übergeht diesen Ordner samt "
                                         "Inhalt. Bitte die Bilder daraus direkt in %1 legen.");
            else
                message = QStringLiteral("Das Spiel übergeht diesen Eintrag, weil er keine "
                                         "gewöhnliche Datei ist (etwa eine Verknüpfung, deren "
                                         "Ziel fehlt). Bitte ihn löschen und das Bild selbst "
                                         "hineinlegen.");
            report(entry.filePath(), message.replace(QStringLiteral("%1"), relative(folder)));
        }
    }

    void hint(const QString& path, const QString& message) {
        result_.problems.append({relative(path), message, true});
    }

    // A sound file the game would try to play: it must play, and should be short.
    void checkSound(const QString& path) {
        const QString problem = soundFileProblem(path);
        if (!problem.isEmpty()) {
            report(path, QStringLiteral("Das Spiel kann diesen Ton nicht abspielen: %1 Bitte als "
                                        "WAV-Datei (PCM, 16 Bit) speichern; wie, steht in der "
                                        "Anleitung unter „Eigene Töne aufnehmen“.")
                             .arg(problem));
            return;
        }
        const int seconds = (soundFileLength(path) + 500) / 1000;
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
                hint(folder, QStringLiteral("Es fehlen %1; das Spiel sagt sie nicht.")
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
        checkFolder(QStringLiteral("laute"), letterSounds,
                    QStringLiteral("die Laute der Buchstaben"));
        checkFolder(QStringLiteral("saetze"),
                    {QStringLiteral("richtig.wav"), QStringLiteral("am-anfang-hoerst-du.wav"),
                     QStringLiteral("nochmal.wav")},
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
