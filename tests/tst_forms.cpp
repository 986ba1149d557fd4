// SPDX-License-Identifier: Apache-2.0
#include "platform/form.h"
#include "testsupport.h"

#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>

using namespace platform;
using testsupport::onNextModal;

namespace {

// A window with one control that remembers what was typed into it.
class Note : public Form {
public:
    Note() { edit.setObjectName(QStringLiteral("edit")); }
    QLineEdit edit{this};
};

} // namespace

class TestForms : public QObject {
    Q_OBJECT

private slots:
    // Nothing exists before the first use; the first use creates the window, hidden.
    void createdOnFirstUse();
    // Unload discards the window and its contents; the next use starts from its layout.
    void unloadStartsAfresh();
    // A modal Show returns once the window is hidden, and the window stays loaded.
    void showReturnsWhenHidden();
    // A window unloaded from inside its own modal loop is hidden at once but deleted only
    // after that loop has returned; a second modal window can run meanwhile.
    void unloadInsideOwnLoop();
    // Closing a window by other means counts as unloading it where the window says so.
    void closedCountsAsUnloaded();
};

void TestForms::createdOnFirstUse() {
    int created = 0;
    FormSlot<Note> slot([&created] {
        ++created;
        return new Note;
    });
    QVERIFY(!slot.isLoaded());
    slot->edit.setText(QStringLiteral("x"));
    QVERIFY(slot.isLoaded());
    QVERIFY(!slot->isVisible());
    slot->edit.setText(QStringLiteral("y"));
    QCOMPARE(created, 1);
    slot.Unload(); // nothing happens on a second unload
    slot.Unload();
    QVERIFY(!slot.isLoaded());
}

void TestForms::unloadStartsAfresh() {
    FormSlot<Note> slot([] { return new Note; });
    QPointer<Note> first = &slot.get();
    first->edit.setText(QStringLiteral("Max"));
    slot.Unload();
    QVERIFY(first.isNull());
    QCOMPARE(slot->edit.text(), QString());
}

void TestForms::showReturnsWhenHidden() {
    FormSlot<Note> slot([] { return new Note; });
    onNextModal([](QWidget* modal) {
        QVERIFY(modal->isModal());
        modal->hide();
    });
    slot.Show(false);
    QVERIFY(slot.isLoaded());
    QVERIFY(!slot->isVisible());
}

void TestForms::unloadInsideOwnLoop() {
    FormSlot<Note> outer([] { return new Note; });
    FormSlot<Note> inner([] { return new Note; });
    QPointer<Note> outerWindow = &outer.get();
    bool outerAliveDuringInner = false;
    bool innerShown = false;

    // While the outer window waits, "a timer" unloads it and then waits on a second window,
    // as the end of a game does with the feedback window and the results window.
    onNextModal([&](QWidget*) {
        outer.Unload();
        QVERIFY(!outer.isLoaded());
        QVERIFY(!outerWindow.isNull());
        QVERIFY(!outerWindow->isVisible());
        onNextModal([&](QWidget* modal) {
            innerShown = modal == &inner.get();
            outerAliveDuringInner = !outerWindow.isNull();
            modal->hide();
        });
        inner.Show(false);
    });
    outer.Show(true);

    QVERIFY(innerShown);
    QVERIFY(outerAliveDuringInner);
    QVERIFY(outerWindow.isNull());
    QVERIFY(!outer.isLoaded());
    // The slot can load a new window afterwards.
    QCOMPARE(outer->edit.text(), QString());
}

void TestForms::closedCountsAsUnloaded() {
    FormSlot<Note> slot([] { return new Note; });
    QPointer<Note> window = &slot.get();
    onNextModal([](QWidget* modal) { modal->close(); });
    slot.Show(true);
    QVERIFY(window.isNull());
    QVERIFY(!slot.isLoaded());

    window = &slot.get();
    onNextModal([](QWidget* modal) { modal->close(); });
    slot.Show(false);
    QVERIFY(!window.isNull());
}

QTEST_MAIN(TestForms)
#include "tst_forms.moc"
