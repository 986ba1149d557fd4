// SPDX-License-Identifier: Apache-2.0
// The floor of start-up time and memory: a Qt Widgets program that shows one empty window of
// the main window's size and waits, nothing else. With --text the window holds one line of
// text, so that the fonts are loaded before it appears (a second, informative floor).

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal"));
    window.resize(1008, 719);
    if (QApplication::arguments().contains(QStringLiteral("--text"))) {
        auto* line = new QLabel(QStringLiteral("Bitte gib deinen Namen ein!"), &window);
        line->adjustSize();
    }
    window.show();
    return QApplication::exec();
}
