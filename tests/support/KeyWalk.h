#pragma once
// Keys sent where the focus is, as a clerk without a mouse sends them.
#include "TDBGrid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

inline QWidget* focused()
{
    return QApplication::focusWidget();
}

inline void key(int k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(focused(), Qt::Key(k), modifiers);
}

// A grid that keeps Tab for its cells is left by Ctrl+Tab.
inline bool focusInGrid()
{
    for (QWidget* w = focused(); w; w = w->parentWidget())
        if (qobject_cast<TDBGrid*>(w))
            return true;
    return false;
}

// Tabs on until the focus reaches target (the walk is the window's own).
inline void tabTo(QWidget* target)
{
    for (int i = 0; i < 40 && focused() != target; ++i)
        key(Qt::Key_Tab, focusInGrid() ? Qt::ControlModifier : Qt::NoModifier);
    ASSERT_EQ(focused(), target) << target->objectName().toStdString();
}

inline void press(QAbstractButton* button)
{
    tabTo(button);
    key(Qt::Key_Return);
}
