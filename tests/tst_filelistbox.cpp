// SPDX-License-Identifier: Apache-2.0
// The hidden file list that lists a letter folder for the page builder.
#include "platform/filelistbox.h"
#include "platform/runtimeerror.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace platform;
using testsupport::TestLibrary;

class TestFileListBox : public QObject {
    Q_OBJECT

private slots:
    // The hidden file list: files only, sorted, no hidden files, no sub-folders, no sounds or
    // names beside the pictures, nothing that Windows or macOS left behind, in any case.
    void fileListing();
    void fileListingMissingFolder();
    // A folder that may not be read is PermissionDenied, not an empty list.
    void fileListingUnreadableFolder();
    void fileListingOutOfRange();
};

void TestFileListBox::fileListing() {
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/a");
    QDir().mkpath(folder + QStringLiteral("/Unterordner"));
    for (const char* name : {"Zebra.png", "Apfel.png", ".versteckt.png", "Mond.png", "Thumbs.db",
                             "THUMBS.DB", "desktop.ini", "Desktop.INI", ".DS_Store", "._Apfel.png"})
        TestLibrary::writePicture(folder + QLatin1Char('/') + QLatin1String(name));
    // What lies beside a picture to voice or name it is no picture.
    for (const char* name : {"Apfel.wav", "Zebra.TXT", "Mond.m4a"})
        TestLibrary::writeBytes(folder + QLatin1Char('/') + QLatin1String(name), "RIFF");

    FileListBox list;
    list.setPath(folder);
    QCOMPARE(list.path(), folder);
    QCOMPARE(list.listCount(), int16_t(3));
    QCOMPARE(list.list(0), QStringLiteral("Apfel.png"));
    QCOMPARE(list.list(1), QStringLiteral("Mond.png"));
    QCOMPARE(list.list(2), QStringLiteral("Zebra.png"));

    // Setting the path lists afresh: a file added since shows up.
    TestLibrary::writePicture(folder + QStringLiteral("/Birne.png"));
    list.setPath(folder);
    QCOMPARE(list.listCount(), int16_t(4));
    QCOMPARE(list.list(1), QStringLiteral("Birne.png"));
}

void TestFileListBox::fileListingMissingFolder() {
    QTemporaryDir dir;
    FileListBox list;
    const QString missing = dir.path() + QStringLiteral("/gibtsnicht");
    QVERIFY_ERROR_ON(ErrorNumber::PathNotFound, missing, list.setPath(missing));
    // A file is no folder either.
    TestLibrary::writePicture(dir.path() + QStringLiteral("/datei.png"));
    QVERIFY_ERROR(ErrorNumber::PathNotFound,
                  list.setPath(dir.path() + QStringLiteral("/datei.png")));
}

void TestFileListBox::fileListingUnreadableFolder() {
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/a");
    QDir().mkpath(folder);
    TestLibrary::writePicture(folder + QStringLiteral("/Apfel.png"));
    QVERIFY(QFile::setPermissions(folder, QFile::ExeOwner | QFile::WriteOwner));
    const testsupport::PermissionsApply permissions;
    if (!permissions.active())
        QSKIP(qPrintable(permissions.why()));
    FileListBox list;
    QVERIFY_ERROR_ON(ErrorNumber::PermissionDenied, folder, list.setPath(folder));
}

void TestFileListBox::fileListingOutOfRange() {
    QTemporaryDir dir;
    FileListBox list;
    list.setPath(dir.path());
    QCOMPARE(list.listCount(), int16_t(0));
    QCOMPARE(list.list(0), QString());
    QCOMPARE(list.list(-1), QString());
}

QTEST_MAIN(TestFileListBox)
#include "tst_filelistbox.moc"
