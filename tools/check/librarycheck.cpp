// SPDX-License-Identifier: Apache-2.0
#include "tools/check/librarycheck.h"

#include "game/letters.h"
#include "platform/filelistbox.h"
#include "platform/nativename.h"
#include "platform/picture.h"
#include "platform/runtimeerror.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
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
            if (listed.contains(entry.fileName()))
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

    const QString root_;
    const QString images_;
    Result result_;
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
