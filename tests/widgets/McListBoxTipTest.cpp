#include "controls/McListBox/McListBox.h"
#include "platform/forms/ControlContainer.h"

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <gtest/gtest.h>
#include <random>

void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

// A shown list of short rows and two cut-off ones, in a fixed-pitch font.
class ListTip : public ::testing::Test {
protected:
    void SetUp() override {
        list.setContainer(&container);
        list.InitProperties();
        QFont font(QStringLiteral("DejaVu Sans Mono"));
        font.setPixelSize(12);
        list.setFont(font);
        list.Refresh();
        list.setClientSize(200, 176);
        list.move(40, 30);
        list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
        charWidth = list.DrawingSurface().TextWidth(QStringLiteral("a"));
        list.AddItem(QStringLiteral("short"));
        list.AddItem(Wide(list.ClientWidth() + 40));
        list.AddItem(Wide(list.ClientWidth() + 80));
        list.AddItem(QStringLiteral("short again"));
        list.Refresh();
    }

    // A text of whole words at least `pixels` wide.
    QString Wide(int pixels) const {
        QString text;
        while (list.DrawingSurface().TextWidth(text) < pixels)
            text += QStringLiteral("word ");
        return text.trimmed();
    }

    void MoveTo(int visibleRow, int x = 30) {
        QTest::mouseMove(&list, QPoint(x, list.FrameWidth() + static_cast<int>((visibleRow + 0.5) *
                                                                               list.RowPitch())));
    }

    bool TipShown() const { return list.TipWindow() != nullptr && list.TipWindow()->isVisible(); }

    ControlContainer container;
    McListBox list;
    int charWidth = 0;
};

} // namespace

TEST(TipWrapping, BreakCharactersAreEverythingButPlainLettersAndUnderscore) {
    for (QChar c : {u'A', u'Z', u'a', u'z', u'_'})
        EXPECT_FALSE(McListBox::IsBreakChar(c)) << int(c.unicode());
    for (QChar c : {u' ', u'-', u'7', u'@', u'\u00e9', u'['})
        EXPECT_TRUE(McListBox::IsBreakChar(c)) << int(c.unicode());
}

TEST_F(ListTip, WrapsWordsBeforeTheLastSeparatorAndKeepsTheLastCharacter) {
    const int seven = 7 * charWidth;
    EXPECT_EQ(list.WrapText(QStringLiteral("aaaaa bbbbb ccccc"), seven, true),
              (QStringList{"aaaaa", "bbbbb", "ccccc"}));
    EXPECT_EQ(list.WrapText(QStringLiteral("aaaaa b"), seven, true), (QStringList{"aaaaa", "b"}));
    // Without separators a line breaks hard at the width.
    EXPECT_EQ(list.WrapText(QStringLiteral("abcdefghijkl"), seven, true),
              (QStringList{"abcdef", "ghijkl"}));
    EXPECT_EQ(list.WrapText(QStringLiteral("ab\r\ncd"), 100 * charWidth, true),
              QStringList{"abcd"});
    EXPECT_EQ(list.WrapText(QStringLiteral("x"), seven, true), QStringList{"x"});
    // The end of the text is no reason to break a line that fits.
    EXPECT_EQ(list.WrapText(QStringLiteral("aaa b"), seven, true), QStringList{"aaa b"});
}

TEST_F(ListTip, WrappedLinesGiveBackTheWholeText) {
    std::mt19937 random(77u);
    const QStringList pieces{"word", "a", "longerword", " ", "  ", "-", "42", ",", "_x_", "Q"};
    for (int round = 0; round < 300; ++round) {
        QString text = pieces[static_cast<qsizetype>(random() % 3)];
        const int count = static_cast<int>(random() % 25);
        for (int i = 0; i < count; ++i)
            text += pieces[static_cast<qsizetype>(random() % pieces.size())];
        const int width = static_cast<int>(2 + random() % 20) * charWidth;
        const QStringList lines = list.WrapText(text, width, true);
        ASSERT_FALSE(lines.isEmpty()) << text.toStdString();
        // Each line continues the text where the one before stopped, after the spaces of
        // the break; the last character always reaches the last line.
        qsizetype at = 0;
        for (const QString& line : lines) {
            const bool last = &line == &lines.last();
            while (at < text.size() && text[at] == u' ' &&
                   (text.mid(at, line.size()) != line || (last && at + line.size() < text.size())))
                ++at;
            ASSERT_EQ(text.mid(at, line.size()), line)
                << text.toStdString() << " width " << width / charWidth;
            at += line.size();
        }
        ASSERT_EQ(at, text.size()) << text.toStdString();
        ASSERT_TRUE(lines.last().endsWith(text.back())) << text.toStdString();
    }
}

TEST_F(ListTip, TheTipFloatsWithoutTakingTheFocus) {
    QApplication::setActiveWindow(&list);
    list.setFocus();
    ASSERT_TRUE(list.HasFocus());
    MoveTo(1);
    ASSERT_TRUE(TipShown());
    QWidget* tip = list.TipWindow();
    EXPECT_TRUE(tip->isWindow());
    EXPECT_EQ(tip->parentWidget(), nullptr);
    EXPECT_TRUE(tip->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(tip->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    QTest::qWait(20);
    EXPECT_EQ(QApplication::focusWidget(), &list);
    EXPECT_EQ(QApplication::activeWindow(), &list);
    EXPECT_TRUE(list.HasFocus());
}

TEST_F(ListTip, CutOffRowShowsItsWholeTextOverTheRow) {
    MoveTo(0);
    EXPECT_FALSE(TipShown());
    EXPECT_EQ(list.TipRow(), -100);

    MoveTo(1);
    ASSERT_TRUE(TipShown());
    EXPECT_EQ(list.TipRow(), 2);
    const QPoint rc = list.mapToGlobal(QPoint(0, 0));
    const int textWidth = list.DrawingSurface().TextWidth(list.List(1));
    const QRect expected(rc.x() + list.TextOffset() + 2,
                         static_cast<int>(std::floor(list.RowPitch() + rc.y() + 3)), textWidth + 12,
                         static_cast<int>(std::nearbyint(list.RowPitch() - 1)));
    EXPECT_EQ(list.TipWindow()->geometry(), expected);

    // Within the row nothing moves; the next cut-off row takes the tip; a row that fits
    // hides it.
    MoveTo(1, 60);
    EXPECT_EQ(list.TipWindow()->geometry(), expected);
    MoveTo(2);
    EXPECT_EQ(list.TipRow(), 3);
    EXPECT_EQ(list.TipWindow()->y(),
              static_cast<int>(std::floor(2 * list.RowPitch() + rc.y() + 3)));
    EXPECT_EQ(list.TipWindow()->width(), list.DrawingSurface().TextWidth(list.List(2)) + 12);
    MoveTo(3);
    EXPECT_FALSE(TipShown());
    EXPECT_EQ(list.TipRow(), -100);
}

TEST_F(ListTip, WheelAndLeavingHideTheTip) {
    MoveTo(1);
    ASSERT_TRUE(TipShown());
    const QPointF at(30, 30);
    QWheelEvent wheel(at, list.mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&list, &wheel);
    EXPECT_FALSE(TipShown());
    EXPECT_EQ(list.TipRow(), -100);

    MoveTo(1, 35);
    ASSERT_TRUE(TipShown());
    QCursor::setPos(list.mapToGlobal(QPoint(-50, -50))); // where a real leave puts the pointer
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&list, &leave);
    EXPECT_FALSE(TipShown());
}

TEST_F(ListTip, TextWiderThanTheScreenIsWrappedIntoATallerTip) {
    const QRect screen = list.screen()->geometry();
    list.AddItem(Wide(2 * screen.width()), 0);
    list.Refresh();
    MoveTo(0);
    ASSERT_TRUE(TipShown());
    const int left = list.mapToGlobal(QPoint(0, 0)).x();
    const int room = screen.x() + screen.width() - (left + list.TextOffset());
    EXPECT_EQ(list.TipWindow()->width(), room - 10);
    EXPECT_GT(list.TipWindow()->height(), 2 * list.RowPitch());
}

TEST_F(ListTip, ThePointerOverTheTipIsStillOverTheListUntilItLeavesBoth) {
    int enters = 0;
    int leaves = 0;
    int selChanges = 0;
    QObject::connect(&list, &McListBox::MouseEnter, [&] { ++enters; });
    QObject::connect(&list, &McListBox::MouseLeave, [&] { ++leaves; });
    QObject::connect(&list, &McListBox::SelChange, [&] { ++selChanges; });
    MoveTo(1);
    ASSERT_TRUE(TipShown());
    QWidget* tip = list.TipWindow();
    const QPoint onTip = tip->geometry().center();

    // The pointer now lies on the tip: the list's own leave is no leave.
    QCursor::setPos(onTip);
    QEvent coveredByTip(QEvent::Leave);
    QCoreApplication::sendEvent(&list, &coveredByTip);
    EXPECT_EQ(leaves, 0);
    EXPECT_TRUE(TipShown());

    // A press on the tip is a press on the row beneath it.
    QTest::mouseClick(tip, Qt::LeftButton, {}, tip->mapFromGlobal(onTip));
    EXPECT_EQ(list.ListIndex(), 1);
    EXPECT_EQ(selChanges, 1);

    // Off the tip and off the list: one leave, and the tip goes.
    QCursor::setPos(list.mapToGlobal(QPoint(list.width() + 200, 5)));
    QEvent leftTip(QEvent::Leave);
    QCoreApplication::sendEvent(tip, &leftTip);
    EXPECT_EQ(leaves, 1);
    EXPECT_FALSE(TipShown());
    EXPECT_EQ(enters, 1);
}

TEST_F(ListTip, ADoubleClickOnTheTipIsADoubleClickOnTheRow) {
    QStringList events;
    for (const char* name : {"MouseDown", "MouseUp", "Click", "DbClick", "SelChange"}) {
        const QString event = QString::fromLatin1(name);
        auto note = [&events, event] { events << event; };
        if (event == QLatin1String("Click"))
            QObject::connect(&list, &McListBox::Click, note);
        else if (event == QLatin1String("DbClick"))
            QObject::connect(&list, &McListBox::DbClick, note);
        else if (event == QLatin1String("SelChange"))
            QObject::connect(&list, &McListBox::SelChange, note);
        else if (event == QLatin1String("MouseDown"))
            QObject::connect(&list, &McListBox::MouseDown, note);
        else
            QObject::connect(&list, &McListBox::MouseUp, note);
    }
    // Through the windows, as the pointer does it: press, release, press, release, with the
    // double-click made by Qt from the second press.
    const QPoint onRow(30, list.FrameWidth() + static_cast<int>(1.5 * list.RowPitch()));
    QTest::mouseDClick(list.windowHandle(), Qt::LeftButton, {}, onRow);
    const QStringList onTheList = events;
    ASSERT_TRUE(onTheList.contains(QStringLiteral("DbClick")));

    list.setListIndex(0);
    QTest::qWait(300); // past the double-click interval
    events.clear();
    MoveTo(1);
    ASSERT_TRUE(TipShown());
    QWidget* tip = list.TipWindow();
    QTest::mouseDClick(tip->windowHandle(), Qt::LeftButton, {}, QPoint(10, tip->height() / 2));
    EXPECT_EQ(events, onTheList);
    EXPECT_EQ(list.ListIndex(), 1);
}
