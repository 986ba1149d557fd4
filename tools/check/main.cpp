// SPDX-License-Identifier: Apache-2.0
// lautgarten-pruefen: checks a picture library before the children meet it, with the game's own
// loader and folder listing, so that it finds exactly what would stop or spoil the game.

#include "tools/check/console.h"
#include "tools/check/librarycheck.h"

#include "platform/app.h"
#include "platform/nativename.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QStringList>
#include <cstdio>

namespace {

const char* const Usage =
    "Aufruf: lautgarten-pruefen [ORDNER]\n"
    "\n"
    "Prüft die Bildersammlung von Lautgarten: ob jedes Buchstabenbild, jeder Buchstabenordner\n"
    "und beide Gesichter da sind, ob das Spiel jedes Bild lesen darf und laden kann, ob jedes\n"
    "Bild in sein Bildfeld passt und etwas zeigt, ob es jeden Ton abspielen kann und ob Dateien\n"
    "oder Ordner herumliegen, die das Spiel übergeht (auch solche, die Windows und macOS von\n"
    "selbst anlegen).\n"
    "\n"
    "ORDNER ist der Ordner, in dem der Ordner „images“ liegt, oder der Ordner „images“ selbst.\n"
    "Ohne ORDNER wird die Bildersammlung neben dem Programm geprüft, die auch das Spiel nimmt.\n"
    "\n"
    "Jedes Problem steht in einer eigenen Zeile; was nur ein Hinweis ist (etwa ein Bild ohne\n"
    "gesprochenes Wort), sagt es dazu. Rückgabewert: 0, wenn alles in Ordnung ist, auch mit\n"
    "Hinweisen; 1, wenn es Probleme gibt; 2, wenn der Aufruf nicht stimmt.\n"
    "\n"
    "  -h, --help   diese Hilfe zeigen\n";

void print(std::FILE* stream, const QString& line) {
    std::fputs((line + QLatin1Char('\n')).toUtf8().constData(), stream);
}

int misuse(const QString& message) {
    print(stderr, QStringLiteral("lautgarten-pruefen: ") + message);
    print(stderr, QStringLiteral("Hilfe gibt „lautgarten-pruefen --help“."));
    return 2;
}

} // namespace

int main(int argc, char* argv[]) {
    const lautgarten::check::Console console;
    // Help and a wrong call are answered before anything of the graphical side starts.
    const QList<QByteArray> given = lautgarten::check::commandLine(argc, argv);
    QStringList arguments;
    for (const QByteArray& argument : given)
        arguments.append(QString::fromUtf8(argument));
    const qsizetype end = arguments.indexOf(QStringLiteral("--"));
    const QStringList options = arguments.mid(0, end);
    if (options.contains(QStringLiteral("-h")) || options.contains(QStringLiteral("--help"))) {
        std::fputs(Usage, stdout);
        return 0;
    }
    QList<QByteArray> folders; // as bytes: a folder's name need not be UTF-8
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (i == end)
            continue;
        if ((end < 0 || i < end) && arguments[i].startsWith(QLatin1Char('-')))
            return misuse(QStringLiteral("Die Angabe „%1“ kenne ich nicht.").arg(arguments[i]));
        folders.append(given[i]);
    }
    if (folders.size() > 1)
        return misuse(QStringLiteral("Bitte nur einen Ordner angeben."));
    QString folder;
    if (!folders.isEmpty()) {
        folder = platform::enterFolder(folders.first());
        if (folder.isEmpty() || !QFileInfo(folder).isDir())
            return misuse(QStringLiteral("Den Ordner „%1“ gibt es nicht.")
                              .arg(platform::escapedName(folders.first())));
    }

    // The check never opens a window, and it must run where there is no screen (over ssh, from
    // a script); loading pictures still needs a graphical application.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    if (folders.isEmpty())
        folder = platform::AppInfo::fromExecutable().Path;

    const lautgarten::check::Result result =
        lautgarten::check::checkLibrary(lautgarten::check::libraryRoot(folder));
    for (const lautgarten::check::Problem& problem : result.problems)
        print(stdout, problem.line());
    if (result.hasErrors())
        return 1;
    print(stdout, QStringLiteral("Die Bildersammlung ist in Ordnung: %1 Buchstaben, %2 Bilder, "
                                 "%3 davon mit gesprochenem Wort.")
                      .arg(result.letters)
                      .arg(result.pictures)
                      .arg(result.words));
    return 0;
}
