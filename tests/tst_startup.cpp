// SPDX-License-Identifier: Apache-2.0
// The real programs started where a school's machine may start them: without a screen, or from
// a folder whose name is not UTF-8.

#include "game/letters.h"
#include "testsupport.h"

#include <QProcess>
#include <QTest>
#include <cstdio>

#ifndef LAUTGARTEN_BINARY
#error "LAUTGARTEN_BINARY must name the program"
#endif
#ifndef LAUTGARTEN_PRUEFEN
#error "LAUTGARTEN_PRUEFEN must name the check's executable"
#endif

using testsupport::TestLibrary;

namespace {

struct Outcome {
    QProcess::ExitStatus status = QProcess::CrashExit;
    int code = -1;
    QString errors;
};

Outcome run(const QString& program, const QStringList& arguments,
            const QProcessEnvironment& environment) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return {QProcess::CrashExit, -1, QStringLiteral("hung")};
    }
    return {process.exitStatus(), process.exitCode(),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    // Without a screen the game ends with its own German message naming the cause and exit code
    // 1, not with Qt's abort (a core dump and advice to reinstall); the checker needs no screen.
    void noScreen_data();
    void noScreen();
    // An install folder whose name holds a Latin-1 byte still finds its picture library, and an
    // error names that folder with the byte escaped.
    void installFolderNotUtf8();
};

void TestStartup::noScreen_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("environment"); // NAME=value sets, NAME alone removes
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    const QString game = QStringLiteral(LAUTGARTEN_BINARY);
    QTest::newRow("no DISPLAY") << game << QStringList{"DISPLAY", "QT_QPA_PLATFORM"} << 1
                                << "Lautgarten: kein Bildschirm. Die Umgebungsvariable DISPLAY";
    QTest::newRow("a display that does not exist")
        << game << QStringList{"DISPLAY=:4711", "QT_QPA_PLATFORM"} << 1
        << "Lautgarten: kein Bildschirm. Die Anzeige „:4711“ (DISPLAY) ist nicht erreichbar.";
    QTest::newRow("Wayland without a compositor")
        << game << QStringList{"QT_QPA_PLATFORM=wayland", "WAYLAND_DISPLAY=lautgarten-nirgends"}
        << 1 << "Lautgarten: kein Bildschirm. Unter „lautgarten-nirgends“ (WAYLAND_DISPLAY)";
    QTest::newRow("a platform that is not installed")
        << game << QStringList{"QT_QPA_PLATFORM=direct2d"} << 1
        << "Lautgarten: kein Bildschirm. Die Bildschirmanbindung „direct2d“ ist nicht installiert.";
    QTest::newRow("checker without DISPLAY")
        << QStringLiteral(LAUTGARTEN_PRUEFEN)
        << QStringList{"DISPLAY", "QT_QPA_PLATFORM=wayland", "WAYLAND_DISPLAY=lautgarten-nirgends"}
        << 0 << QString();
}

void TestStartup::noScreen() {
    QFETCH(QString, program);
    QFETCH(QStringList, environment);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    const TestLibrary library(1);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), library.appPath());
    for (const QString& setting : environment) {
        if (setting.contains(QLatin1Char('=')))
            env.insert(setting.section(QLatin1Char('='), 0, 0),
                       setting.section(QLatin1Char('='), 1));
        else
            env.remove(setting);
    }
    const Outcome outcome = run(program, {library.appPath()}, env);
    QCOMPARE(outcome.status, QProcess::NormalExit);
    QVERIFY2(outcome.code == exitCode, qPrintable(outcome.errors));
    if (!message.isEmpty()) {
        QVERIFY2(outcome.errors.startsWith(message), qPrintable(outcome.errors));
        QVERIFY2(!outcome.errors.contains(QLatin1String("Reinstalling")),
                 qPrintable(outcome.errors));
    }
}

void TestStartup::installFolderNotUtf8() {
    TestLibrary library(1);
    QVERIFY(QFile::copy(QStringLiteral(LAUTGARTEN_BINARY),
                        library.appPath() + QStringLiteral("/lautgarten")));
    // Empty letter folders: the game ends on its first page, naming a folder of its library.
    for (const QString& entry : lautgarten::letterEntries())
        QVERIFY(QFile::remove(library.path(entry + QStringLiteral("/0.png"))));
    QTemporaryDir outer;
    const QByteArray moved = QFile::encodeName(outer.path()) + "/Sch\xe4"
                                                               "fer";
    QVERIFY(std::rename(QFile::encodeName(library.appPath()).constData(), moved.constData()) == 0);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // Started from another folder, by the name's bytes, which a QString cannot carry.
    const Outcome outcome =
        run(QStringLiteral("bash"),
            {QStringLiteral("-c"),
             QStringLiteral("cd / && exec \"$1/$(printf 'Sch\\xe4fer')/lautgarten\""),
             QStringLiteral("bash"), outer.path()},
            env);
    std::rename(moved.constData(), QFile::encodeName(library.appPath()).constData());
    QCOMPARE(outcome.status, QProcess::NormalExit);
    QCOMPARE(outcome.code, 1);
    QVERIFY2(outcome.errors.contains(QStringLiteral("Laufzeitfehler '53':\n\nDatei nicht "
                                                    "gefunden\n\n") +
                                     outer.path() + QStringLiteral("/Sch\\xe4fer/images/")),
             qPrintable(outcome.errors));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
