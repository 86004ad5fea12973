#include "support/WindowFixture.h"

#include "controls/TransPicBox.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Shell.h"
#include "windows/frmAboutProduct.h"

#include <QTest>

namespace {

class AboutProductWindow : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        Shell::SetOpener([this](const QUrl& address) { opened_.append(address); });
        window_ = &Shared<frmAboutProduct>();
        window_->Show(false);
        QCoreApplication::processEvents();
    }
    void TearDown() override {
        Shell::SetOpener(nullptr);
        WindowFixture::TearDown();
    }

    frmAboutProduct* window_ = nullptr;
    QList<QUrl> opened_;
};

TEST_F(AboutProductWindow, ShowsTheAboutTextExactlyAsWritten) {
    EXPECT_EQ(window_->lblAbout->text(),
              QStringLiteral("Pelmoran Todo List is a free utility program that lets users save "
                             "Todo's by group in this software and mark them as done when a Todo "
                             "has been finished at the time.\r\nPelmoran Todo is a mutli-user Todo "
                             "software that lets its users to save their Todo's with their "
                             "accounts seperately.User can save his Todo's password protected."));
    EXPECT_TRUE(window_->lblAbout->wordWrap());
}

TEST_F(AboutProductWindow, VisitWebsiteOpensTheSiteAndStaysWhileCloseAndTheTextHide) {
    window_->cmdShow->click();
    ASSERT_EQ(opened_.size(), 1);
    EXPECT_EQ(opened_[0], Shell::WebSite());
    EXPECT_TRUE(window_->isVisible());

    QTest::mouseClick(window_->Label1, Qt::LeftButton);
    QTest::mouseClick(window_->Image1, Qt::LeftButton);
    EXPECT_TRUE(window_->isVisible()) << "the title and the band do nothing";

    QTest::mouseClick(window_->lblAbout, Qt::LeftButton);
    EXPECT_FALSE(window_->isVisible());
    window_->Show(false);
    window_->cmdClose->click();
    EXPECT_FALSE(window_->isVisible());
    EXPECT_EQ(opened_.size(), 1);
}

TEST_F(AboutProductWindow, LayoutFollowsItsDesign) {
    EXPECT_EQ(window_->size(), QSize(468, 271));
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("About Pelmoran Todo List"));
    EXPECT_EQ(window_->palette().color(QPalette::Window), QColor(255, 192, 128));
    ExpectLayout(window_, {{"Image1", 0, 0, 7020, 900},
                           {"Label1", 1440, 120, 5295, 615, 0x00004080},
                           {"lblAbout", 120, 1080, 6765, 1920, 0x00004080},
                           {"cmdShow", 1920, 3240, 2415, 615, 0x00FF80FF},
                           {"cmdClose", 4440, 3240, 2415, 615, 0x008080FF}});
    EXPECT_FALSE(window_->Image1->hasScaledContents());
    EXPECT_EQ(window_->TransPicBox1->geometry(), QRect(8, 0, 82, 71));
    EXPECT_EQ(window_->TransPicBox1->MaskColor(), 0x00FF00FFu);
    EXPECT_EQ(window_->focusWidget(), window_->cmdClose);
    FocusIn(window_, window_->cmdClose);
    QTest::keyClick(window_->cmdClose, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window_->cmdShow);
}

} // namespace
