#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/MessageBox.h"
#include "platform/forms/ProgramEnd.h"
#include "platform/forms/SystemColors.h"
#include "support/WindowFixture.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class CountingForm : public Form {
public:
    int loads = 0;
    TextBox* field = new TextBox(this);

protected:
    void Form_Load() override {
        ++loads;
        field->clear();
    }
};

TEST(Form, AModalShowReturnsWhenTheWindowHidesAndCanRunAgain) {
    CountingForm form;
    for (int pass = 0; pass < 2; ++pass) {
        bool shownDuringLoop = false;
        QTimer::singleShot(0, [&] {
            shownDuringLoop = form.isVisible() && form.IsShowingModally();
            form.Hide();
        });
        form.Show(true);
        EXPECT_TRUE(shownDuringLoop);
        EXPECT_FALSE(form.isVisible());
        EXPECT_FALSE(form.IsShowingModally());
    }
    EXPECT_EQ(form.loads, 1) << "hiding keeps the window loaded";
}

TEST(Form, TheCloseBoxUnloadsSoTheNextShowLoadsAfresh) {
    CountingForm form;
    form.Show(false);
    form.field->setText(QStringLiteral("kept while hidden"));
    form.Hide();
    form.Show(false);
    EXPECT_EQ(form.field->text(), QStringLiteral("kept while hidden"));

    QSignalSpy unloaded(&form, &Form::Unloaded);
    form.close();
    EXPECT_EQ(unloaded.count(), 1);
    EXPECT_FALSE(form.IsLoaded());
    form.Show(false);
    EXPECT_EQ(form.loads, 2);
    EXPECT_TRUE(form.field->text().isEmpty());
}

TEST(Form, ClosingAModalWindowEndsItsShow) {
    CountingForm form;
    QTimer::singleShot(0, [&] { form.close(); });
    form.Show(true);
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.IsLoaded());
}

// What a window has drawn beside its building is what it would have loaded on the spot, taken
// once; the icon is the window's by the time it first shows.
TEST(Form, PreparedPicturesAreTheOnesTheWindowWouldLoad) {
    const QString design = QStringLiteral(":/windows/frmLogIn.json");
    const QString emblem = QStringLiteral("TransPicBox1");
    const QString icon = QStringLiteral(":/windows/login-icon.svg");
    CountingForm form;
    form.PrepareStoredDesign(design, emblem);
    form.SetIconLater(icon);
    const PropertyStore loaded = Form::StoredDesign(design, emblem);
    ASSERT_TRUE(loaded.ReadProperty(QStringLiteral("picture")).value<QImage>().width() > 0);
    EXPECT_EQ(form.PreparedStoredDesign(design, emblem).ToJson(), loaded.ToJson());
    EXPECT_EQ(form.PreparedStoredDesign(design, emblem).ToJson(), loaded.ToJson())
        << "read again once the prepared one is taken";

    form.show();
    const QIcon expected = IconOf(IconPictures(icon));
    ASSERT_EQ(form.windowIcon().availableSizes(), expected.availableSizes());
    for (const QSize& size : expected.availableSizes())
        EXPECT_EQ(form.windowIcon().pixmap(size).toImage(), expected.pixmap(size).toImage());
}

TEST(MessageBoxes, TheResponderSeesEveryBoxWithTheApplicationTitleAsDefault) {
    std::vector<MsgBox::Call> calls;
    MsgBox::SetResponder([&](const MsgBox::Call& call) {
        calls.push_back(call);
        return MsgBox::kNo;
    });
    EXPECT_EQ(MessageBox(QStringLiteral("Remove?"), MsgBox::kYesNo | MsgBox::kQuestion),
              MsgBox::kNo);
    MessageBox(QStringLiteral("Hello"), MsgBox::kInformation, QStringLiteral("Log In"));
    MsgBox::SetResponder(nullptr);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].title, QStringLiteral("Tallyboard"));
    EXPECT_EQ(calls[0].style, MsgBox::kYesNo | MsgBox::kQuestion);
    EXPECT_EQ(calls[1].title, QStringLiteral("Log In"));
}

TEST(ProgramEnding, TheRunTimeErrorReportShowsNumberAndDescriptionThenEnds) {
    std::vector<MsgBox::Call> calls;
    MsgBox::SetResponder([&](const MsgBox::Call& call) {
        calls.push_back(call);
        return MsgBox::kOK;
    });
    int ends = 0;
    ProgramEnd::ResetEnded();
    ProgramEnd::SetHandler([&] { ++ends; });
    QWidget window;
    window.show();

    RunHandler([] { throw RuntimeError(3021, QStringLiteral("No current record.")); });

    MsgBox::SetResponder(nullptr);
    ProgramEnd::SetHandler(nullptr);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_TRUE(calls[0].prompt.contains(QStringLiteral("3021")));
    EXPECT_TRUE(calls[0].prompt.contains(QStringLiteral("No current record.")));
    EXPECT_EQ(ends, 1);
    EXPECT_TRUE(ProgramEnd::HasEnded());
    EXPECT_EQ(ProgramEnd::EndedStatus(), kErrorExitStatus);
    EXPECT_FALSE(window.isVisible()) << "every window goes with the program";
    ProgramEnd::ResetEnded();
}

// A script or a session manager sees only the exit status: an end forced by an error must not
// look like the user's own.
TEST(ProgramEndingDeathTest, TheProcessExitsWithTheStatusOfItsEnd) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            MsgBox::SetResponder([](const MsgBox::Call&) { return MsgBox::kOK; });
            RunHandler([] { throw RuntimeError(3021, QStringLiteral("No current record.")); });
        },
        ::testing::ExitedWithCode(kErrorExitStatus), "");
    EXPECT_EXIT(EndProgram(), ::testing::ExitedWithCode(0), "");
}

// The graphical look drawn by the button itself is, pixel for pixel, the style sheet it stands
// for, in every state a button of the program's windows takes.
TEST(CommandButtons, TheGraphicalLookIsTheStyleSheetsInEveryState) {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(8.25);
    font.setBold(true);
    const struct {
        const char* caption;
        QSize size;
        uint32_t colour;
    } buttons[] = {{"Log In", {81, 25}, 0x00FF8080},
                   {"&Close", {73, 25}, 0x00C0C0FF},
                   {"New Account", {105, 25}, 0x00FFC0C0},
                   {"&Add", {60, 30}, 0x00C0FFC0}};
    QWidget window;
    window.resize(400, 100);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    for (const auto& sample : buttons) {
        const QString caption = QString::fromLatin1(sample.caption);
        auto* ours = new CommandButton(caption, &window);
        ours->SetBackColor(sample.colour);
        auto* sheet = new QPushButton(caption, &window);
        const QColor face = SystemColors::ToQColor(sample.colour, 0xF0F0F0);
        sheet->setStyleSheet(
            QStringLiteral("QPushButton { background-color: %1; border: 1px solid #404040; "
                           "border-radius: 0px; color: black; }"
                           "QPushButton:focus { border: 2px solid #000000; }"
                           "QPushButton:pressed { background-color: %2; }")
                .arg(face.name(), face.darker(115).name()));
        for (QPushButton* button : {static_cast<QPushButton*>(ours), sheet}) {
            button->setFont(font);
            button->setGeometry(QRect(QPoint(0, 0), sample.size));
            button->show();
        }
        for (int state = 0; state < 5; ++state) {
            QImage pictures[2];
            int side = 0;
            for (QPushButton* button : {static_cast<QPushButton*>(ours), sheet}) {
                button->setEnabled(state != 4);
                button->setDown(state == 2 || state == 3);
                if (state == 1 || state == 3)
                    button->setFocus();
                else
                    window.setFocus();
                pictures[side++] = button->grab().toImage();
            }
            EXPECT_EQ(pictures[0], pictures[1]) << sample.caption << " in state " << state;
        }
        delete ours;
        delete sheet;
    }
}

TEST(CommandButtons, EnterSpaceAndTheAccessKeyPressAButton) {
    QWidget window;
    auto* close = new CommandButton(QStringLiteral("&Close"), &window);
    auto* other = new TextBox(&window);
    other->move(0, 40);
    window.show();
    QApplication::setActiveWindow(&window);
    QSignalSpy clicks(close, &QPushButton::clicked);

    close->setFocus();
    QTest::keyClick(close, Qt::Key_Return);
    QTest::keyClick(close, Qt::Key_Enter);
    QTest::keyClick(close, Qt::Key_Space);
    EXPECT_EQ(clicks.count(), 3);

    other->setFocus();
    QTest::keyClick(other, Qt::Key_Return);
    EXPECT_EQ(clicks.count(), 3) << "Enter elsewhere presses no button";
    ASSERT_EQ(QApplication::activeWindow(), &window);
    QTest::keyClick(&window, Qt::Key_C, Qt::AltModifier);
    EXPECT_TRUE(clicks.wait(1000)) << "an access key presses its button with a short animation";
    EXPECT_EQ(clicks.count(), 4);
}

TEST(TextBoxes, ReportKeysInTheOriginalNumbering) {
    TextBox box;
    box.show();
    QSignalSpy downs(&box, &TextBox::KeyDown);
    QSignalSpy presses(&box, &TextBox::KeyPress);
    QSignalSpy ups(&box, &TextBox::KeyUp);
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClick(&box, Qt::Key_A, Qt::ShiftModifier);
    ASSERT_EQ(downs.count(), 3); // Enter, then Shift and A
    EXPECT_EQ(downs[0][0].toInt(), 13);
    EXPECT_EQ(downs[1][0].toInt(), 16);
    EXPECT_EQ(downs[2][0].toInt(), 65);
    EXPECT_EQ(downs[2][1].toInt(), 1);
    EXPECT_EQ(presses[0][0].toInt(), 13);
    EXPECT_EQ(ups[0][0].toInt(), 13);
}

} // namespace

TEST(Form, DestroyingAWindowWithAFocusedFieldRunsNoHandlerOfIt) {
    struct FieldWindow : Form {
        FieldWindow(bool* ranAfterEnd, bool* ended)
            : field(new TextBox(this))
            , ended_(ended) {
            connect(field, &TextBox::LostFocus, this,
                    [ranAfterEnd, ended] { *ranAfterEnd = *ended; });
        }
        ~FieldWindow() override { *ended_ = true; }
        TextBox* field;
        bool* ended_;
    };
    bool ranAfterEnd = false;
    bool ended = false;
    auto* window = new FieldWindow(&ranAfterEnd, &ended);
    window->Show(false);
    window->activateWindow();
    window->field->setFocus();
    QCoreApplication::processEvents();
    ASSERT_TRUE(window->field->hasFocus());
    delete window;
    EXPECT_TRUE(ended);
    EXPECT_FALSE(ranAfterEnd) << "a lost-focus handler ran on a half-destroyed window";
}

TEST(TextBoxes, TheLengthLimitCountsCharactersAndNeverSplitsOne) {
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    TextBox field;
    field.setMaxLength(5);
    field.show();
    Type(&field, QStringLiteral("abcd") + emoji);
    EXPECT_EQ(field.text(), QStringLiteral("abcd") + emoji) << "an emoji is one character";
    QTest::keyClicks(&field, QStringLiteral("x"));
    EXPECT_EQ(field.text(), QStringLiteral("abcd") + emoji);
    field.setCursorPosition(1);
    QTest::keyClicks(&field, QStringLiteral("z"));
    EXPECT_EQ(field.text(), QStringLiteral("abcd") + emoji) << "a full field takes nothing";

    field.clear();
    field.insert(QStringLiteral("abc") + emoji + emoji + QStringLiteral("q"));
    EXPECT_EQ(field.text(), QStringLiteral("abc") + emoji + emoji);
    field.clear();
    field.insert(QStringLiteral("abcd"));
    field.insert(QStringLiteral("e") + emoji);
    EXPECT_EQ(field.text(), QStringLiteral("abcde")) << "the emoji is left out whole";
    EXPECT_EQ(field.maxLength(), 5);
}
