#pragma once

#include <QApplication>
#include <QWidget>
#include <QtTest/QTest>

namespace swr::test {

// A key with modifiers as a user presses it, with window the active window so that its
// shortcuts answer. Afterwards no modifier counts as held: the test library would leave
// them set, and a later setCurrentIndex would then act as a Ctrl+click.
inline void Key_Chord(QWidget* window, QWidget* target, int key, Qt::KeyboardModifiers mods)
{
    QApplication::setActiveWindow(window);
    QTest::keyClick(target, Qt::Key(key), mods);
    QTest::keyRelease(target, Qt::Key_Shift);
}

} // namespace swr::test
