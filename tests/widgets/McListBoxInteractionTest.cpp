#include "controls/McListBox/McListBox.h"
#include "platform/forms/ControlContainer.h"
#include "support/PlacedList.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

// Readable failures for texts and lists of texts.
void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

struct Down {
    short Button;
    short Shift;
    float X;
    float y;
};

// A shown list of 20 rows, eight of 22 pixels visible, every event it raises recorded.
class ListInteraction : public PlacedList {
protected:
    void SetUp() override {
        Place();
        list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
        list.activateWindow();
        list.setFocus();
        Fill(20);
        Record();
    }

    void Fill(int count) {
        list.Clear();
        PlacedList::Fill(count);
    }

    void Record() {
        auto note = [this](const char* name) {
            return [this, name] { events << QString::fromLatin1(name); };
        };
        QObject::connect(&list, &McListBox::MouseEnter, note("MouseEnter"));
        QObject::connect(&list, &McListBox::MouseLeave, note("MouseLeave"));
        QObject::connect(&list, &McListBox::Click, note("Click"));
        QObject::connect(&list, &McListBox::SelChange, note("SelChange"));
        QObject::connect(&list, &McListBox::DbClick, note("DbClick"));
        QObject::connect(&list, &McListBox::KeyDown, [this](short& code, short&) {
            events << QStringLiteral("KeyDown");
            code = cancelKeys ? 0 : code;
        });
        QObject::connect(&list, &McListBox::KeyUp, note("KeyUp"));
        QObject::connect(&list, &McListBox::KeyPress, note("KeyPress"));
        QObject::connect(&list, &McListBox::MouseUp, note("MouseUp"));
        QObject::connect(&list, &McListBox::MouseMove, note("MouseMove"));
        QObject::connect(&list, &McListBox::MouseDown,
                         [this](short button, short shift, float x, float y) {
                             events << QStringLiteral("MouseDown");
                             downs.push_back({button, shift, x, y});
                         });
    }

    // The middle of a visible row, in widget coordinates.
    QPoint Row(int visibleRow) const {
        const int frame = list.FrameWidth();
        return {frame + 20, frame + static_cast<int>((visibleRow + 0.5) * list.RowPitch())};
    }

    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&list, key, modifiers);
    }

    int Top() { return list.Bars().GetBarValue(ScrollBars::kVertical); }

    QStringList events;
    std::vector<Down> downs;
    bool cancelKeys = false;
};

} // namespace

TEST_F(ListInteraction, PressAndReleaseRaiseTheirEventsInOrder) {
    QTest::mouseClick(&list, Qt::LeftButton, Qt::NoModifier, Row(3));
    EXPECT_EQ(events, (QStringList{"SelChange", "MouseDown", "MouseUp", "Click"}));
    EXPECT_EQ(list.ListIndex(), 3);
    EXPECT_EQ(Selected(), QList<int>{3});
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].Button, 1);
    EXPECT_EQ(downs[0].Shift, 0);
}

TEST_F(ListInteraction, ShiftAndCtrlPressesBuildRangesFromTheAnchor) {
    list.setMultiSelect(true);
    QTest::mouseClick(&list, Qt::LeftButton, Qt::NoModifier, Row(2));
    QTest::mouseClick(&list, Qt::LeftButton, Qt::ShiftModifier, Row(5));
    EXPECT_EQ(Selected(), (QList<int>{2, 3, 4, 5}));
    EXPECT_EQ(list.SelectionAnchor(), 2);
    QTest::mouseClick(&list, Qt::LeftButton, Qt::ControlModifier, Row(4));
    EXPECT_EQ(Selected(), (QList<int>{2, 3, 5}));
    EXPECT_EQ(list.SelectionAnchor(), 4);
    QTest::mouseClick(&list, Qt::LeftButton, Qt::ControlModifier, Row(0));
    EXPECT_EQ(Selected(), (QList<int>{0, 2, 3, 5}));
    // Only the left button toggles: a right Ctrl press selects the row alone.
    QTest::mouseClick(&list, Qt::RightButton, Qt::ControlModifier, Row(4));
    EXPECT_EQ(Selected(), QList<int>{4});
    EXPECT_EQ(list.SelectionAnchor(), 4);
}

TEST_F(ListInteraction, MultiSelectionDragReportsTheSelectionOnRelease) {
    list.setMultiSelect(true);
    QTest::mousePress(&list, Qt::LeftButton, Qt::NoModifier, Row(1));
    for (int row = 2; row <= 4; ++row)
        QTest::mouseMove(&list, Row(row));
    EXPECT_EQ(Selected(), (QList<int>{1, 2, 3, 4}));
    EXPECT_EQ(events.count("SelChange"), 1);
    QTest::mouseRelease(&list, Qt::LeftButton, Qt::NoModifier, Row(4));
    EXPECT_EQ(events.count("SelChange"), 2);
    EXPECT_EQ(list.SelectionAnchor(), 1);
    EXPECT_EQ(events.last(), QStringLiteral("Click"));
}

TEST_F(ListInteraction, PressBelowTheLastRowDoesNothing) {
    Fill(3);
    events.clear();
    list.setListIndex(1);
    events.clear();
    QTest::mousePress(&list, Qt::LeftButton, Qt::NoModifier, Row(6));
    EXPECT_TRUE(events.isEmpty());
    EXPECT_EQ(list.ListIndex(), 1);
    EXPECT_EQ(Selected(), QList<int>{1});
    QTest::mouseRelease(&list, Qt::LeftButton, Qt::NoModifier, Row(6));
}

TEST_F(ListInteraction, KeysAtTheEndsRaiseOnlyKeyDown) {
    Key(Qt::Key_Up);
    Key(Qt::Key_Home);
    list.setListIndex(19);
    events.clear();
    Key(Qt::Key_Down);
    Key(Qt::Key_End);
    EXPECT_EQ(events, (QStringList{"KeyDown", "KeyUp", "KeyDown", "KeyUp"}));
}

TEST_F(ListInteraction, PageDownMovesByTheVisibleRowsAndStopsAtTheEnd) {
    ASSERT_EQ(list.VisibleRows(), 8);
    list.setListIndex(3);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(list.ListIndex(), 11);
    EXPECT_EQ(Top(), 4);
    list.setListIndex(15);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(list.ListIndex(), 19);
    Key(Qt::Key_PageUp);
    EXPECT_EQ(list.ListIndex(), 11);
    EXPECT_EQ(Top(), 11);
}

TEST_F(ListInteraction, KeyboardStepsRaiseMouseDownWith999) {
    list.setListIndex(4);
    events.clear();
    Key(Qt::Key_Down);
    EXPECT_EQ(events, (QStringList{"KeyDown", "SelChange", "MouseDown", "KeyUp"}));
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].Button, 999);
    EXPECT_EQ(downs[0].Shift, 0);
    EXPECT_EQ(downs[0].X, 5.0f);
    EXPECT_EQ(downs[0].y, 0.0f);
    EXPECT_EQ(list.SelectionAnchor(), 5);
}

TEST_F(ListInteraction, HostCancelsAStepBySettingTheKeyCodeToZero) {
    list.setListIndex(4);
    cancelKeys = true;
    Key(Qt::Key_Down);
    EXPECT_EQ(list.ListIndex(), 4);
}

TEST_F(ListInteraction, ShiftDownExtendsTheRangeRowByRow) {
    list.setMultiSelect(true);
    QTest::mouseClick(&list, Qt::LeftButton, Qt::NoModifier, Row(2));
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), (QList<int>{2, 3, 4}));
    EXPECT_EQ(list.SelectionAnchor(), 2);
    Key(Qt::Key_Down);
    EXPECT_EQ(Selected(), QList<int>{5});
    EXPECT_EQ(list.SelectionAnchor(), 5);
}

TEST_F(ListInteraction, AnArrowSelectsTheCurrentRowOnlyWhereNothingIsSelected) {
    // A refilled list: an arrow chooses its current row, the first.
    events.clear();
    Key(Qt::Key_Down);
    EXPECT_EQ(Selected(), QList<int>{0});
    EXPECT_EQ(events, (QStringList{"KeyDown", "SelChange", "MouseDown", "KeyUp"}));
    Key(Qt::Key_Down);
    EXPECT_EQ(Selected(), QList<int>{1});

    // The only row of a list: an arrow chooses it, the other keys stop on it.
    Fill(1);
    events.clear();
    for (Qt::Key key : {Qt::Key_PageUp, Qt::Key_Home, Qt::Key_End, Qt::Key_PageDown})
        Key(key);
    EXPECT_EQ(events.count("SelChange") + events.count("MouseDown"), 0)
        << events.join(u' ').toStdString();
    EXPECT_TRUE(Selected().isEmpty());
    Key(Qt::Key_Down);
    EXPECT_EQ(Selected(), QList<int>{0});

    // The last row current but unselected while another is selected: Down stops there.
    Fill(3);
    list.setMultiSelect(true);
    QTest::mouseClick(&list, Qt::LeftButton, Qt::NoModifier, Row(1));
    QTest::mouseClick(&list, Qt::LeftButton, Qt::ControlModifier, Row(2));
    QTest::mouseClick(&list, Qt::LeftButton, Qt::ControlModifier, Row(2));
    ASSERT_EQ(list.ListIndex(), 2);
    ASSERT_EQ(Selected(), QList<int>{1});
    events.clear();
    Key(Qt::Key_Down);
    EXPECT_EQ(events, (QStringList{"KeyDown", "KeyUp"}));
    EXPECT_EQ(Selected(), QList<int>{1});

    // Shift+Down from an unselected current row extends from the anchor.
    Fill(6);
    QTest::mouseClick(&list, Qt::LeftButton, Qt::NoModifier, Row(1));
    QTest::mouseClick(&list, Qt::LeftButton, Qt::ControlModifier, Row(3));
    QTest::mouseClick(&list, Qt::LeftButton, Qt::ControlModifier, Row(3));
    ASSERT_EQ(list.SelectionAnchor(), 3);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), (QList<int>{3, 4}));
    EXPECT_EQ(list.ListIndex(), 4);
}

TEST_F(ListInteraction, CharacterKeysRaiseKeyPress) {
    Key(Qt::Key_A);
    EXPECT_EQ(events, (QStringList{"KeyDown", "KeyPress", "KeyUp"}));
}

namespace {
class KeyWindow : public QWidget {
public:
    QList<int> keys;

protected:
    void keyPressEvent(QKeyEvent* event) override { keys << event->key(); }
};
} // namespace

TEST(ListKeys, KeysTheListDoesNotNavigateWithReachTheWindowToo) {
    ControlContainer container;
    KeyWindow window;
    auto* list = new McListBox(&window);
    list->setContainer(&container);
    list->InitProperties();
    list->resize(100, 100);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    list->setFocus();
    int downs = 0;
    QObject::connect(list, &McListBox::KeyDown, [&downs](short&, short&) { ++downs; });
    QTest::keyClick(list, Qt::Key_Escape);
    QTest::keyClick(list, Qt::Key_Return);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(downs, 3);
    EXPECT_EQ(window.keys, (QList<int>{Qt::Key_Escape, Qt::Key_Return}));
}

TEST_F(ListInteraction, SingleSelectionDragAboveTheListScrollsToTheTop) {
    list.setListIndex(12);
    const int top = Top();
    ASSERT_GT(top, 0);
    QTest::mousePress(&list, Qt::LeftButton, Qt::NoModifier, Row(0));
    EXPECT_EQ(list.ListIndex(), top);
    events.clear();
    // Just above the client area, with the button held.
    const QPointF at = QPointF(20, -4) + QPointF(list.FrameWidth(), list.FrameWidth());
    QMouseEvent outside(QEvent::MouseMove, at, list.mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(&list, &outside);
    EXPECT_EQ(Top(), 0);
    EXPECT_EQ(list.ListIndex(), 0);
    EXPECT_EQ(Selected(), QList<int>{0});
    EXPECT_EQ(events.count("SelChange"), top);
    // Stopped by reaching the first row: no MouseMove for this move.
    EXPECT_EQ(events.count("MouseMove"), 0);
    QTest::mouseRelease(&list, Qt::LeftButton, Qt::NoModifier, Row(0));
}

TEST_F(ListInteraction, WheelScrollsOneRowOrFivePixelsWithCtrl) {
    auto turn = [this](QPoint angle, Qt::KeyboardModifiers modifiers) {
        const QPointF at = Row(1);
        QWheelEvent event(at, list.mapToGlobal(at), QPoint(), angle, Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&list, &event);
    };
    auto wheel = [&](int delta, Qt::KeyboardModifiers modifiers) {
        turn(QPoint(0, delta), modifiers);
    };
    wheel(-120, Qt::NoModifier);
    EXPECT_EQ(Top(), 1);
    // A sideways tilt moves no rows, either way.
    for (const int tilt : {-120, 120}) {
        turn(QPoint(tilt, 0), Qt::NoModifier);
        EXPECT_EQ(Top(), 1) << tilt;
    }
    wheel(120, Qt::NoModifier);
    wheel(120, Qt::NoModifier);
    EXPECT_EQ(Top(), 0);
    // Over a bar too one turn is one row: the bars belong to the list's window.
    QScrollBar* vertical = list.Window().ScrollBar(ScrollBars::kVertical);
    const QPointF onBar(5, 5);
    QWheelEvent overBar(onBar, vertical->mapToGlobal(onBar), QPoint(), QPoint(0, -120),
                        Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(vertical, &overBar);
    EXPECT_EQ(Top(), 1);
    wheel(120, Qt::NoModifier);

    // Only the rows drawn count for the extent: the wide row goes on top.
    list.AddItem(QString(80, u'W'), 0);
    list.Refresh();
    ASSERT_TRUE(list.Bars().GetBarVisible(ScrollBars::kHorizontal));
    const int draws = list.DrawCount();
    wheel(-120, Qt::ControlModifier);
    EXPECT_EQ(list.Bars().GetBarValue(ScrollBars::kHorizontal), 5);
    EXPECT_EQ(Top(), 0);
    EXPECT_EQ(list.DrawCount(), draws + 1);

    // All rows fit: nothing scrolls, nothing is redrawn.
    Fill(2);
    const int still = list.DrawCount();
    wheel(-120, Qt::NoModifier);
    EXPECT_EQ(list.DrawCount(), still);
    EXPECT_EQ(list.TipRow(), -100);
}

TEST_F(ListInteraction, ScrollBarActionsMoveTheListAndRedrawOnlyOnChange) {
    QScrollBar* vertical = list.Window().ScrollBar(ScrollBars::kVertical);
    const int draws = list.DrawCount();
    vertical->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(Top(), 0);
    EXPECT_EQ(list.DrawCount(), draws);
    vertical->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(Top(), 1);
    EXPECT_EQ(vertical->value(), 1);
    EXPECT_EQ(list.DrawCount(), draws + 1);
    vertical->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(Top(), 6);
    vertical->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(Top(), 20 - list.VisibleRows());
    vertical->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(Top(), 20 - list.VisibleRows());
    // Dragging the thumb follows it on every move.
    vertical->setSliderDown(true);
    vertical->setSliderPosition(4);
    EXPECT_EQ(Top(), 4);
    const int dragged = list.DrawCount();
    vertical->setSliderDown(false);
    EXPECT_EQ(list.DrawCount(), dragged);
    EXPECT_EQ(Top(), 4);
    // A value Qt sets on its own, as its "Scroll here" does, is no scroll message: the bar
    // goes back to where the list is.
    vertical->setValue(9);
    EXPECT_EQ(Top(), 4);
    EXPECT_EQ(vertical->value(), 4);
}

TEST_F(ListInteraction, MouseMoveComesBeforeMouseEnterAndLeaveHidesTheTip) {
    QTest::mouseMove(&list, Row(1));
    QTest::mouseMove(&list, Row(2));
    ASSERT_GE(events.size(), 3);
    EXPECT_EQ(events.mid(0, 3), (QStringList{"MouseMove", "MouseEnter", "MouseMove"}));
    EXPECT_TRUE(list.MouseInWindow());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&list, &leave);
    EXPECT_EQ(events.last(), QStringLiteral("MouseLeave"));
    EXPECT_FALSE(list.MouseInWindow());
    EXPECT_EQ(list.TipRow(), -100);
    events.clear();
    QTest::mouseMove(&list, Row(3));
    EXPECT_EQ(events, (QStringList{"MouseMove", "MouseEnter"}));
}

TEST_F(ListInteraction, FrameAndBarsAreOutsideTheRowsAndThePointerLeavesForThem) {
    // Nothing has entered, so a leave reports nothing.
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&list, &leave);
    EXPECT_TRUE(events.isEmpty());

    QTest::mouseMove(&list, Row(1));
    events.clear();
    QTest::mouseMove(&list, QPoint(1, Row(1).y()));
    EXPECT_EQ(events, QStringList{"MouseLeave"});
    EXPECT_FALSE(list.MouseInWindow());
    // Qt's own leave when the pointer then goes on adds nothing.
    QCoreApplication::sendEvent(&list, &leave);
    EXPECT_EQ(events, QStringList{"MouseLeave"});

    QTest::mouseMove(&list, Row(2));
    events.clear();
    const QScrollBar* vertical = list.Window().ScrollBar(ScrollBars::kVertical);
    ASSERT_TRUE(vertical->isVisible());
    QTest::mouseMove(&list, vertical->geometry().center());
    EXPECT_EQ(events, QStringList{"MouseLeave"});
    events.clear();
    QTest::mouseMove(&list, Row(2));
    EXPECT_EQ(events, (QStringList{"MouseMove", "MouseEnter"}));
}

TEST_F(ListInteraction, HandCursorOverRowsArrowBelowThem) {
    Fill(3);
    QTest::mouseMove(&list, Row(1));
    EXPECT_EQ(list.cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(list.cursor().hotSpot(), QPoint(4, 0));
    EXPECT_EQ(list.cursor().pixmap().size(), QSize(32, 32));
    QTest::mouseMove(&list, Row(5));
    EXPECT_EQ(list.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(ListInteraction, DoubleClickRefreshesThenRaisesDbClick) {
    const int refreshes = list.RefreshCount();
    // Through the window system, so that Qt makes the double-click out of two clicks.
    QTest::mouseDClick(list.windowHandle(), Qt::LeftButton, Qt::NoModifier, Row(2));
    // The pointer is brought there first.
    events.removeAll(QStringLiteral("MouseMove"));
    events.removeAll(QStringLiteral("MouseEnter"));
    EXPECT_EQ(events,
              (QStringList{"SelChange", "MouseDown", "MouseUp", "Click", "DbClick", "MouseUp"}));
    EXPECT_GT(list.RefreshCount(), refreshes);
}

TEST_F(ListInteraction, LosingTheFocusRedrawsWithTheLighterFill) {
    list.setListIndex(0);
    ASSERT_TRUE(list.HasFocus());
    const int draws = list.DrawCount();
    const int x = list.ClientWidth() - 5;
    EXPECT_EQ(list.DrawingSurface().Pixel(x, 10), 0x00FFBB78u);
    list.clearFocus();
    EXPECT_FALSE(list.HasFocus());
    EXPECT_EQ(list.DrawCount(), draws + 1);
    EXPECT_EQ(list.DrawingSurface().Pixel(x, 10), 0x00FFDDBCu);
}
