#include "support/WindowFixture.h"

#include "platform/forms/Controls.h"
#include "windows/frmAboutProgrammer.h"

#include <QFrame>
#include <QTest>

namespace {

class AboutProgrammerWindow : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        window_ = &Shared<frmAboutProgrammer>();
        window_->Show(false);
        QCoreApplication::processEvents();
    }

    frmAboutProgrammer* window_ = nullptr;
};

TEST_F(AboutProgrammerWindow, ThePortraitTheLinesTheRuleAndTheBackgroundHideItTheTitlesDoNot) {
    QTest::mouseClick(window_->Label1, Qt::LeftButton);
    QTest::mouseClick(window_->Image2, Qt::LeftButton);
    EXPECT_TRUE(window_->isVisible()) << "the banner and the title do nothing";

    std::vector<std::pair<QWidget*, QPoint>> hiders = {
        {window_->Image1, QPoint(5, 5)},
        {window_, QPoint(60, 190)},                     // the background
        {window_, window_->Line1->geometry().center()}, // the rule is part of it
    };
    for (QWidget* line : window_->lblLabel)
        hiders.emplace_back(line, QPoint(3, 3));
    for (const auto& [target, point] : hiders) {
        window_->Show(false);
        QTest::mouseClick(target, Qt::LeftButton, {}, point);
        EXPECT_FALSE(window_->isVisible()) << target->objectName().toStdString();
    }
}

TEST_F(AboutProgrammerWindow, NamesTheTeamAndNoTelephoneInItsDesignedPlaces) {
    EXPECT_EQ(window_->size(), QSize(447, 202));
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("About Programmer"));
    EXPECT_EQ(window_->palette().color(QPalette::Window), QColor(255, 255, 128));
    ExpectLayout(window_, {{"Image2", 0, 0, 6735, 735},
                           {"Label1", 1320, 120, 4335, 615, 0x00008080},
                           {"Image1", 120, 840, 1905, 2010},
                           {"lblLabel_0", 2160, 840, 4335, 495},
                           {"lblLabel_1", 2160, 1440, 4095, 255},
                           {"lblLabel_2", 2160, 1800, 4095, 615},
                           {"lblLabel_3", 2160, 2640, 4095, 255}});
    EXPECT_EQ(window_->Line1->geometry(), QRect(144, 88, 296, 1));
    EXPECT_TRUE(window_->Image1->hasScaledContents());
    EXPECT_EQ(window_->lblLabel[0]->text(), QStringLiteral("Pelmoran Todo List"));
    EXPECT_TRUE(window_->lblLabel[1]->text().contains(QStringLiteral("team")));
    EXPECT_EQ(window_->lblLabel[0]->font().family(), QStringLiteral("Times New Roman"));
    for (const Label* line : window_->lblLabel) {
        EXPECT_TRUE(line->font().bold());
        EXPECT_FALSE(
            line->text().contains(QRegularExpression(QStringLiteral("[0-9]{3}[ -]?[0-9]{3}"))))
            << "no telephone number";
    }
    EXPECT_TRUE(window_->lblLabel[2]->text().contains(QStringLiteral("C++, Qt and SQLCipher")));
}

} // namespace
