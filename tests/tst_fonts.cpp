// SPDX-License-Identifier: Apache-2.0
// The fonts that travel beside the program (the Windows build's "fonts" folder), and the faces
// that stand in for the designed families.

#include "platform/fonts.h"
#include "platform/layout.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace platform;

namespace {

// Two faces from the Debian font packages that scripts/setup installs.
const QString Yanone =
    QStringLiteral("/usr/share/fonts/opentype/yanone-kaffeesatz/YanoneKaffeesatz-Bold.otf");
const QString DejaVu = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");

} // namespace

class TestFonts : public QObject {
    Q_OBJECT

private slots:
    // Every font file of the folder is loaded, whatever the case of its suffix; a broken font
    // file or another kind of file is passed over without stopping the others; a family is
    // named once; a missing folder loads nothing.
    void loadsTheFontFilesOfTheFolder_data();
    void loadsTheFontFilesOfTheFolder();
    // A designed family that is not installed is named by its installed stand-in, so that Qt
    // does not first ask fontconfig for every fallback of the missing one; the face shown is the
    // one the designed name found before.
    void designedFamiliesNameTheInstalledFace();
};

void TestFonts::loadsTheFontFilesOfTheFolder_data() {
    QTest::addColumn<QStringList>("files"); // name=source, source being a font file or "junk"
    QTest::addColumn<QStringList>("families");

    QTest::newRow("no folder") << QStringList{} << QStringList{};
    QTest::newRow("the substitute")
        << QStringList{"YanoneKaffeesatz-Bold.otf=" + Yanone} << QStringList{"Yanone Kaffeesatz"};
    QTest::newRow("upper-case suffix")
        << QStringList{"YANONE.OTF=" + Yanone} << QStringList{"Yanone Kaffeesatz"};
    QTest::newRow("broken and other files passed over")
        << QStringList{"a-kaputt.ttf=junk", "b-schrift.txt=" + DejaVu, "c.otf=" + Yanone}
        << QStringList{"Yanone Kaffeesatz"};
    QTest::newRow("each family once")
        << QStringList{"a.otf=" + Yanone, "b.otf=" + Yanone, "c.ttf=" + DejaVu}
        << QStringList{"Yanone Kaffeesatz", "DejaVu Sans"};
}

void TestFonts::loadsTheFontFilesOfTheFolder() {
    QFETCH(QStringList, files);
    QFETCH(QStringList, families);
    for (const QString& font : {Yanone, DejaVu}) {
        if (!QFile::exists(font))
            QFAIL(qPrintable(font + " is missing; scripts/setup installs it"));
    }

    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/fonts");
    if (!files.isEmpty())
        QVERIFY(QDir().mkdir(folder));
    for (const QString& file : files) {
        const QString name = file.section(QLatin1Char('='), 0, 0);
        const QString source = file.section(QLatin1Char('='), 1);
        if (source == QLatin1String("junk")) {
            QFile junk(folder + QLatin1Char('/') + name);
            QVERIFY(junk.open(QIODevice::WriteOnly));
            junk.write("keine Schrift");
        } else {
            QVERIFY(QFile::copy(source, folder + QLatin1Char('/') + name));
        }
    }
    QCOMPARE(loadFontsFrom(folder), families);
}

void TestFonts::designedFamiliesNameTheInstalledFace() {
    installFontSubstitutes();
    const QStringList installed = QFontDatabase::families();
    for (const QString family :
         {"Verdana", "MS Sans Serif", "Arial", "Comic Sans MS", "Haettenschweiler", "@Arial"}) {
        for (const bool bold : {false, true}) {
            const QFont designed = designFont(family, 12, bold, !bold);
            QFont named(family.startsWith(QLatin1Char('@')) ? family.mid(1) : family);
            named.setPixelSize(designed.pixelSize());
            named.setBold(bold);
            named.setItalic(!bold);
            QVERIFY2(installed.contains(designed.family()), qPrintable(family));
            QCOMPARE(QFontInfo(designed).family(), QFontInfo(named).family());
            QCOMPARE(QFontInfo(designed).styleName(), QFontInfo(named).styleName());
        }
    }
    // Where nothing stands in, the designed name stays, for Qt to do what it can.
    QCOMPARE(designFont(QStringLiteral("Gibt Es Nicht"), 12).family(),
             QStringLiteral("Gibt Es Nicht"));
}

QTEST_MAIN(TestFonts)
#include "tst_fonts.moc"
