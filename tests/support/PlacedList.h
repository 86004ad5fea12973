#pragma once

#include "controls/McListBox/McListBox.h"
#include "platform/forms/ControlContainer.h"

#include <QList>
#include <QStringList>
#include <gtest/gtest.h>

// A list placed on a running window: initialised, with its client area set (by default
// 200 x 176 pixels, eight rows of 22), and its container's notifications cleared.
class PlacedList : public ::testing::Test {
protected:
    void Place(int clientWidth = 200, int clientHeight = 176) {
        list.setContainer(&container);
        list.InitProperties();
        // Both bars are shown from the first refresh on (disabled while not needed).
        list.Refresh();
        list.setClientSize(clientWidth, clientHeight);
        list.Refresh();
        container.ClearChangedProperties();
    }

    // Adds the rows "row 0", "row 1", ... and refreshes.
    void Fill(int count) {
        for (int i = 0; i < count; ++i)
            list.AddItem(QStringLiteral("row %1").arg(i));
        list.Refresh();
    }

    QStringList Rows() const {
        QStringList rows;
        for (int i = 0; i < list.ListCount(); ++i)
            rows << list.List(i);
        return rows;
    }

    QList<int> Selected() const {
        QList<int> rows;
        for (int i = 0; i < list.SelCount(); ++i)
            rows << list.SelItem(i);
        return rows;
    }

    ControlContainer container;
    McListBox list;
};
