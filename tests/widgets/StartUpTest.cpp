#include "support/WindowFixture.h"

#include "app/Module1.h"
#include "platform/db/Connection.h"
#include "platform/forms/Controls.h"
#include "platform/forms/ProgramEnd.h"
#include "windows/frmCreateAccount.h"
#include "windows/frmLogIn.h"
#include "windows/frmMain.h"

#include <QApplication>
#include <QFile>
#include <QTest>
#include <QThread>
#include <functional>
#include <vector>

namespace {

class StartUp : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        // The routine opens the connection itself.
        Module1::DbConnection().Close();
        Shared<frmCreateAccount>().EmptyForm();
    }

    static void LogInWith(frmLogIn* logIn, const QString& name, const QString& password) {
        logIn->txtUserName->setText(name);
        logIn->txtPassword->setText(password);
        logIn->cmdLogIN->click();
    }
};

TEST_F(StartUp, ASuccessfulLogInShowsTheMainWindowAndSetsTheUser) {
    WhenShown<frmLogIn>(
        [](frmLogIn* w) { LogInWith(w, QStringLiteral("ADMIN"), QStringLiteral("admin")); });
    EXPECT_TRUE(Module1::Main());
    EXPECT_EQ(Module1::CurrentUserID(), QStringLiteral("1"));
    EXPECT_NE(VisibleWindow<frmMain>(), nullptr);
    EXPECT_EQ(VisibleWindow<frmLogIn>(), nullptr);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(StartUp, CancelInCreateAccountBringsBackTheSameLogInWindowWithItsFields) {
    frmLogIn* first = nullptr;
    frmLogIn* second = nullptr;
    QString nameAfterwards;
    WhenShown<frmLogIn>([&](frmLogIn* logIn) {
        first = logIn;
        logIn->txtUserName->setText(QStringLiteral("typed"));
        logIn->cmdNewAccout->click();
        WhenShown<frmCreateAccount>([&](frmCreateAccount* create) {
            create->cmdCancel->click();
            WhenShown<frmLogIn>([&](frmLogIn* again) {
                second = again;
                nameAfterwards = again->txtUserName->text();
                again->cmdClose->click();
            });
        });
    });
    EXPECT_FALSE(Module1::Main());
    EXPECT_EQ(second, first);
    EXPECT_EQ(nameAfterwards, QStringLiteral("typed"));
    EXPECT_TRUE(ProgramEnded());
    EXPECT_EQ(VisibleWindow<frmMain>(), nullptr);
}

TEST_F(StartUp, TheCloseBoxAfterANewAccountOpensCreateAccountAgain) {
    int createAccountShowings = 0;
    WhenShown<frmLogIn>([&](frmLogIn* logIn) {
        logIn->cmdNewAccout->click();
        WhenShown<frmCreateAccount>([&](frmCreateAccount* create) {
            ++createAccountShowings;
            create->txtUserID->setText(QStringLiteral("newbie"));
            create->txtPassword->setText(QStringLiteral("pw"));
            create->txtConfirmPassword->setText(QStringLiteral("pw"));
            create->cmdCreate->click();
            WhenShown<frmLogIn>([&](frmLogIn* back) {
                back->close(); // the title-bar close box
                WhenShown<frmCreateAccount>([&](frmCreateAccount* again) {
                    ++createAccountShowings;
                    EXPECT_TRUE(again->txtUserID->text().isEmpty());
                    again->close();
                    WhenShown<frmLogIn>([](frmLogIn* last) {
                        EXPECT_TRUE(last->txtUserName->text().isEmpty()) << "loaded afresh";
                        LogInWith(last, QStringLiteral("newbie"), QStringLiteral("pw"));
                    });
                });
            });
        });
    });
    EXPECT_TRUE(Module1::Main());
    EXPECT_EQ(createAccountShowings, 2);
    EXPECT_EQ(Module1::CurrentUserID(), QStringLiteral("2"));
}

TEST_F(StartUp, TheCloseBoxInTheFirstPassEndsTheProgram) {
    WhenShown<frmLogIn>([](frmLogIn* logIn) { logIn->close(); });
    EXPECT_FALSE(Module1::Main());
    EXPECT_TRUE(ProgramEnded());
    EXPECT_EQ(ProgramEnd::EndedStatus(), 0) << "the user's own end is no failure";
    EXPECT_EQ(VisibleWindow<frmCreateAccount>(), nullptr);
    EXPECT_EQ(VisibleWindow<frmMain>(), nullptr);
}

TEST_F(StartUp, AMissingDatabaseIsReportedBeforeAnyWindow) {
    ASSERT_TRUE(QFile::remove(database_.FilePath()));
    bool windowSeen = false;
    WhenShown<frmLogIn>([&](frmLogIn* logIn) {
        windowSeen = true;
        logIn->close();
    });
    EXPECT_FALSE(Module1::Main());
    QTest::qWait(30);
    EXPECT_FALSE(windowSeen);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_TRUE(Boxes()[0].prompt.contains(QStringLiteral("Main.mdb")));
    EXPECT_EQ(Boxes()[0].style, MsgBox::kInformation);
    EXPECT_EQ(Boxes()[0].title, QStringLiteral("Tallyboard"));
    EXPECT_TRUE(ProgramEnded());
    EXPECT_EQ(ProgramEnd::EndedStatus(), kErrorExitStatus);
    EXPECT_FALSE(QFile::exists(database_.FilePath())) << "opening never creates the file";
}

// The file opens on a second thread while the log-in window is built: whatever fails there is
// still reported by this thread, as the only box, and the built window never shows.
TEST_F(StartUp, AFileThatFailsToOpenIsReportedOnTheMainThreadAndNoWindowShows) {
    const QString path = database_.FilePath();
    const std::function<void()> spoilers[] = {
        [&] {
            QFile::remove(path);
            Connection other;
            other.Create(path, QStringLiteral("another key"));
        },
        [&] {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(4096, '\x5a'));
        },
    };
    bool windowSeen = false;
    WhenShown<frmLogIn>([&](frmLogIn* logIn) {
        windowSeen = true;
        logIn->close();
    });
    for (const auto& spoil : spoilers) {
        Module1::DbConnection().Close();
        ProgramEnd::ResetEnded();
        spoil();
        std::vector<QThread*> boxThreads;
        MsgBox::SetResponder([&](const MsgBox::Call& call) {
            boxThreads.push_back(QThread::currentThread());
            EXPECT_TRUE(call.prompt.contains(QStringLiteral("Main.mdb")))
                << qPrintable(call.prompt);
            return MsgBox::kOK;
        });
        EXPECT_FALSE(Module1::Main());
        QTest::qWait(30);
        EXPECT_FALSE(windowSeen);
        EXPECT_EQ(boxThreads, std::vector<QThread*>{qApp->thread()});
        EXPECT_EQ(ProgramEnd::EndedStatus(), kErrorExitStatus);
        EXPECT_FALSE(Module1::DbConnection().IsOpen());
    }
}

} // namespace
