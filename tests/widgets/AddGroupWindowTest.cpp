#include "support/WindowFixture.h"

#include "app/Module1.h"
#include "app/Statements.h"
#include "controls/TransPicBox.h"
#include "platform/db/Connection.h"
#include "platform/forms/Controls.h"
#include "windows/frmAddGroup.h"
#include "windows/frmAddTask.h"

#include <QCloseEvent>
#include <QTest>

namespace {

class AddGroupWindow : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        Module1::SetCurrentUserID(QStringLiteral("5"));
        window_ = &Shared<frmAddGroup>();
        window_->Show(false);
        QCoreApplication::processEvents();
    }

    void Add(const QString& name) {
        if (!window_->isVisible())
            window_->Show(false);
        window_->txtGroup->setText(name);
        window_->cmdAdd->click();
    }
    static QStringList Groups() {
        return Column(QStringLiteral("SELECT * FROM [tblGroups]"), QStringLiteral("GroupName"));
    }

    frmAddGroup* window_ = nullptr;
};

TEST_F(AddGroupWindow, RefusesEmptyMarkedAndDuplicateNamesKeepingTheWindowAndText) {
    Module1::DbConnection().Execute(Statements::S7(QStringLiteral("2"), QStringLiteral("Work")));
    const struct {
        QString typed;
        QString message;
    } refusals[] = {
        {QString(), QStringLiteral("Group Name must not be empty.")},
        {QStringLiteral("   "), QStringLiteral("Group Name must not be empty.")},
        {QStringLiteral(" wORK "), QStringLiteral("Group Name already exists.")},
        {QStringLiteral("general"), QStringLiteral("Group Name already exists.")},
        {QStringLiteral("a<%S%>b"), QStringLiteral("Group Name must not contain <%S%>.")},
    };
    for (const auto& refusal : refusals) {
        Add(refusal.typed);
        ASSERT_FALSE(Boxes().empty()) << refusal.typed.toStdString();
        EXPECT_EQ(Boxes().back().prompt, refusal.message);
        EXPECT_EQ(Boxes().back().style, MsgBox::kExclamation);
        EXPECT_EQ(Boxes().back().title, QStringLiteral("Add Group"));
        EXPECT_TRUE(window_->isVisible());
        EXPECT_EQ(window_->txtGroup->text(), refusal.typed);
    }
    EXPECT_EQ(Groups(), (QStringList{QStringLiteral("General"), QStringLiteral("Work")}));
    EXPECT_FALSE(ProgramEnded());
}

TEST_F(AddGroupWindow, StoresTheTrimmedNameForTheUserHidesAndRefreshesTheGroupBox) {
    Add(QStringLiteral("  It's mine  "));
    EXPECT_EQ(LastBoxText(), QStringLiteral("Group successfully added."));
    EXPECT_EQ(Boxes().back().style, MsgBox::kInformation);
    EXPECT_FALSE(window_->isVisible());
    EXPECT_EQ(Groups().last(), QStringLiteral("It's mine"));
    EXPECT_EQ(Column(QStringLiteral("SELECT * FROM [tblGroups]"), QStringLiteral("UserID")).last(),
              QStringLiteral("5"));
    const QComboBox* box = Shared<frmAddTask>().cbGroups;
    ASSERT_EQ(box->count(), 2);
    EXPECT_TRUE(box->itemText(1).endsWith(QStringLiteral(" - It's mine")));

    // Shown again, the field holds the name; focusing it selects it without changing colour.
    const QColor before = window_->txtGroup->palette().color(QPalette::Base);
    window_->Show(false);
    FocusIn(window_, window_->cmdClose);
    FocusIn(window_, window_->txtGroup);
    EXPECT_EQ(window_->txtGroup->selectedText(), QStringLiteral("  It's mine  "));
    EXPECT_EQ(window_->txtGroup->palette().color(QPalette::Base), before);

    // Closed by its title bar, it comes back empty with the focus in the field.
    window_->close();
    Shared<frmAddGroup>().Show(false);
    EXPECT_TRUE(window_->txtGroup->text().isEmpty());
    EXPECT_EQ(window_->focusWidget(), window_->txtGroup);
}

TEST_F(AddGroupWindow, EnterMovesToAddNowWithoutAddingAndEnterThereAdds) {
    FocusIn(window_, window_->txtGroup);
    QTest::keyClicks(window_->txtGroup, QStringLiteral("Trips"));
    QTest::keyPress(window_->txtGroup, Qt::Key_Return);
    QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), window_->cmdAdd);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(Groups().size(), 1);

    QTest::keyClick(window_->cmdAdd, Qt::Key_Return);
    EXPECT_EQ(LastBoxText(), QStringLiteral("Group successfully added."));
    EXPECT_EQ(Groups().last(), QStringLiteral("Trips"));
}

TEST_F(AddGroupWindow, LayoutFollowsItsDesign) {
    EXPECT_EQ(window_->size(), QSize(473, 228));
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("Add Group"));
    EXPECT_EQ(window_->palette().color(QPalette::Window), QColor(192, 255, 192));
    EXPECT_EQ(window_->geometry().topLeft(), QPoint(262, 245));
    ExpectLayout(window_, {{"Image1", 0, 0, 7095, 1215},
                           {"Label1", 2160, 120, 4455, 1095, 0x00008000},
                           {"Label2", 240, 1440, 3615, 495, 0x00008000},
                           {"txtGroup", 240, 1800, 4095, 495},
                           {"cmdAdd", 4560, 1800, 2415, 615, 0x00FF8080},
                           {"cmdClose", 4560, 2520, 2415, 615, 0x008080FF}});
    EXPECT_EQ(window_->TransPicBox1->geometry(), QRect(8, -8, 105, 105));
    EXPECT_EQ(window_->TransPicBox1->MaskColor(), 0x00FFFFFFu);
    EXPECT_EQ(window_->cmdAdd->text(), QStringLiteral("Add &Now"));

    window_->cmdClose->click();
    EXPECT_FALSE(window_->isVisible());
    EXPECT_TRUE(Boxes().empty());
}

} // namespace
