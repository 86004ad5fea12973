#include "support/WindowFixture.h"

#include "app/Module1.h"
#include "app/Statements.h"
#include "controls/TransPicBox.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "platform/forms/Controls.h"
#include "windows/frmAddTask.h"

#include <QLocale>
#include <QTest>

namespace {

class AddTaskWindow : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        Module1::SetCurrentUserID(QStringLiteral("5"));
        Module1::DbConnection().Execute(
            Statements::S7(QStringLiteral("3"), QStringLiteral("Home")));
        // Unloaded, so that every test starts from a freshly loaded window.
        Shared<frmAddTask>().close();
        Module1::RefreshLists();
        window_ = &Shared<frmAddTask>();
        window_->Show(false);
        QCoreApplication::processEvents();
    }
    void TearDown() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        WindowFixture::TearDown();
    }

    void Fill(int group, const QString& name, const QString& description, const QString& date,
              int priority = 0) {
        window_->cbGroups->setCurrentIndex(group);
        window_->txtTaskName->setText(name);
        window_->txtDescription->setText(description);
        window_->txtDate->setText(date);
        window_->cbPriority->setCurrentIndex(priority);
    }
    void ExpectFields(int group, const QString& name, const QString& description,
                      const QString& date, int priority) {
        EXPECT_EQ(window_->cbGroups->currentIndex(), group);
        EXPECT_EQ(window_->txtTaskName->text(), name);
        EXPECT_EQ(window_->txtDescription->text(), description);
        EXPECT_EQ(window_->txtDate->text(), date);
        EXPECT_EQ(window_->cbPriority->currentIndex(), priority);
    }
    // Leaves the date field for the next one, as Tab would.
    void LeaveDate() {
        FocusIn(window_, window_->txtDate);
        FocusIn(window_, window_->cbPriority);
    }
    static int TaskCount() {
        return static_cast<int>(
            Column(QStringLiteral("SELECT * FROM [tblTasks]"), QStringLiteral("TaskID")).size());
    }

    frmAddTask* window_ = nullptr;
};

TEST_F(AddTaskWindow, StoresTheFieldsAsTypedAndKeepsThemAllButTheGroup) {
    ASSERT_EQ(window_->cbGroups->count(), 2);
    EXPECT_EQ(window_->cbGroups->currentIndex(), -1) << "a refilled box has no group chosen";
    const QString name = QStringLiteral("Say \"hi\" it's 🎉");
    const QString description = QStringLiteral("O'Brien's list; -- 😀");
    Fill(1, name, description, QStringLiteral("5/1/2024"), 2);
    LeaveDate();
    EXPECT_EQ(window_->txtDate->text(), QStringLiteral("05 Jan 2024"));
    window_->cmdAdd->click();

    EXPECT_EQ(LastBoxText(), QStringLiteral("Successfully added new ToDo."));
    EXPECT_EQ(Boxes().back().style, MsgBox::kInformation);
    EXPECT_EQ(Boxes().back().title, QStringLiteral("Add New Todo"));
    EXPECT_FALSE(window_->isVisible());

    auto rows = Module1::OpenRecordset(Statement{QStringLiteral("SELECT * FROM [tblTasks]"), {}});
    ASSERT_EQ(rows->RecordCount(), 1);
    rows->MoveFirst();
    EXPECT_EQ(rows->Fields(QStringLiteral("userID")).Value().ToInteger(), 5);
    EXPECT_EQ(rows->Fields(QStringLiteral("groupID")).Value().ToInteger(), 2);
    EXPECT_EQ(rows->Fields(QStringLiteral("TaskName")).Value().ToString(), name);
    EXPECT_EQ(rows->Fields(QStringLiteral("TaskDescription")).Value().ToString(), description);
    EXPECT_EQ(rows->Fields(QStringLiteral("DueDate")).Value().ToDate(), QDate(2024, 1, 5));
    EXPECT_EQ(rows->Fields(QStringLiteral("Priority")).Value().ToInteger(), 2);
    EXPECT_EQ(Column(QStringLiteral("SELECT * FROM [tblTasks] WHERE [MarkAsDone]=FALSE"),
                     QStringLiteral("TaskID"))
                  .size(),
              1);

    window_->Show(false);
    ExpectFields(-1, name, description, QStringLiteral("05 Jan 2024"), 2);
    EXPECT_EQ(window_->cbGroups->currentText(), QString());
}

TEST_F(AddTaskWindow, LeavingTheDateReadsItUnderTheLocaleOrRecommendsADate) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    window_->txtDate->setText(QStringLiteral("5/1/2024"));
    LeaveDate();
    EXPECT_EQ(window_->txtDate->text(), QStringLiteral("01 May 2024"));
    EXPECT_TRUE(Boxes().empty());

    for (const QString& typed : {QString(), QStringLiteral("next week")}) {
        window_->txtDate->setText(typed);
        LeaveDate();
        EXPECT_EQ(LastBoxText(),
                  QStringLiteral("A proper formated date is recommended for the DueDate"));
        EXPECT_EQ(Boxes().back().style, MsgBox::kInformation);
        EXPECT_EQ(Boxes().back().title, QStringLiteral("Add New Todo"));
        EXPECT_EQ(window_->txtDate->text(), typed);
        EXPECT_EQ(QApplication::focusWidget(), window_->cbPriority) << "the focus still moves on";
    }
}

TEST_F(AddTaskWindow, RefusesWhatCannotBeStoredOrListedKeepingEveryField) {
    const struct {
        int group;
        QString name;
        QString date;
        QString message;
    } refusals[] = {
        {1, QStringLiteral("   "), QStringLiteral("05 Jan 2024"),
         QStringLiteral("Taskname must not be empty.")},
        {1, QStringLiteral("a<%S%>b"), QStringLiteral("05 Jan 2024"),
         QStringLiteral("Taskname must not contain <%S%>.")},
        {-1, QStringLiteral("Call"), QStringLiteral("05 Jan 2024"),
         QStringLiteral("Choose the group of the new Todo.")},
        {1, QStringLiteral("Call"), QStringLiteral("someday"), QString()},
        {1, QStringLiteral("Call"), QString(), QString()},
    };
    for (const auto& refusal : refusals) {
        Fill(refusal.group, refusal.name, QStringLiteral("why"), refusal.date, 1);
        window_->cmdAdd->click();
        ASSERT_FALSE(Boxes().empty());
        if (refusal.message.isEmpty())
            EXPECT_TRUE(LastBoxText().startsWith(QStringLiteral("Enter the due date as a date")))
                << LastBoxText().toStdString();
        else
            EXPECT_EQ(LastBoxText(), refusal.message);
        EXPECT_EQ(Boxes().back().style, MsgBox::kExclamation);
        EXPECT_EQ(Boxes().back().title, QStringLiteral("Add New Todo"));
        EXPECT_TRUE(window_->isVisible());
        ExpectFields(refusal.group, refusal.name, QStringLiteral("why"), refusal.date, 1);
    }
    EXPECT_EQ(TaskCount(), 0);

    // A group removed by another user since the box was filled.
    Fill(1, QStringLiteral("Call"), QStringLiteral("why"), QStringLiteral("05 Jan 2024"), 1);
    Module1::DbConnection().Execute(Statements::S5(2));
    window_->cmdAdd->click();
    EXPECT_EQ(LastBoxText(),
              QStringLiteral("The chosen group no longer exists. Choose another group."));
    EXPECT_TRUE(window_->isVisible());
    ExpectFields(-1, QStringLiteral("Call"), QStringLiteral("why"), QStringLiteral("05 Jan 2024"),
                 1);
    EXPECT_EQ(window_->cbGroups->count(), 1);
    EXPECT_EQ(TaskCount(), 0);
    EXPECT_FALSE(ProgramEnded());
}

TEST_F(AddTaskWindow, EnterWalksTheFieldsOnlyPastFilledOnesAndStopsBeforeAdding) {
    const auto enter = [] {
        QWidget* target = QApplication::focusWidget();
        QTest::keyPress(target, Qt::Key_Return);
        QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Return);
        return QApplication::focusWidget();
    };
    FocusIn(window_, window_->cbGroups);
    EXPECT_EQ(enter(), window_->txtTaskName);
    EXPECT_EQ(enter(), window_->txtTaskName) << "an empty name stays";
    QTest::keyClicks(window_->txtTaskName, QStringLiteral("Call"));
    EXPECT_EQ(enter(), window_->txtDescription);
    QTest::keyClicks(window_->txtDescription, QStringLiteral("  "));
    EXPECT_EQ(enter(), window_->txtDescription) << "spaces only stay";
    QTest::keyClicks(window_->txtDescription, QStringLiteral("Mum"));
    EXPECT_EQ(enter(), window_->txtDate);
    QTest::keyClicks(window_->txtDate, QStringLiteral("2024-03-01"));
    EXPECT_EQ(enter(), window_->cbPriority);
    EXPECT_EQ(window_->txtDate->text(), QStringLiteral("01 Mar 2024"));
    EXPECT_EQ(enter(), window_->cmdAdd);
    EXPECT_TRUE(Boxes().empty()) << LastBoxText().toStdString();
    EXPECT_EQ(TaskCount(), 0);

    // Picking a group moves on to the name.
    FocusIn(window_, window_->cbGroups);
    QTest::keyClick(window_->cbGroups, Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), window_->txtTaskName);
}

TEST_F(AddTaskWindow, TabIntoAFieldSelectsNothingAndKeepsItsCaret) {
    Fill(0, QStringLiteral("abc"), QStringLiteral("dd"), QStringLiteral("05 Jan 2024"));
    for (TextBox* field : {window_->txtTaskName, window_->txtDescription, window_->txtDate})
        field->setCursorPosition(1);
    FocusIn(window_, window_->cbGroups);
    for (TextBox* field : {window_->txtTaskName, window_->txtDescription, window_->txtDate}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), field);
        EXPECT_TRUE(field->selectedText().isEmpty()) << field->objectName().toStdString();
        EXPECT_EQ(field->cursorPosition(), 1) << field->objectName().toStdString();
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    ASSERT_EQ(QApplication::focusWidget(), window_->txtDescription);
    EXPECT_TRUE(window_->txtDescription->selectedText().isEmpty());
    EXPECT_TRUE(Boxes().empty()) << LastBoxText().toStdString();
}

TEST_F(AddTaskWindow, LoadsWithItsPrioritiesAndLayoutAndReloadsEmpty) {
    EXPECT_EQ(window_->size(), QSize(575, 476));
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("Add New Todo"));
    EXPECT_EQ(window_->palette().color(QPalette::Window), QColor(192, 192, 255));
    ExpectLayout(window_, {{"Image1", 0, 0, 8655, 1335},
                           {"Label1", 2400, 120, 7095, 1095, 0x00C00000},
                           {"Label2", 120, 1560, 3615, 495, 0x00FF0000},
                           {"cbGroups", 120, 1920, 4095, 405},
                           {"Label3", 120, 2520, 3615, 495, 0x00FF0000},
                           {"txtTaskName", 120, 2880, 4095, 495},
                           {"Label4", 120, 3480, 3615, 495, 0x00FF0000},
                           {"txtDescription", 120, 3840, 8295, 1335},
                           {"Label5", 120, 5280, 3615, 495, 0x00FF0000},
                           {"txtDate", 120, 5640, 4095, 495},
                           {"Label6", 4320, 5280, 3615, 495, 0x00FF0000},
                           {"cbPriority", 4320, 5640, 4095, 405},
                           {"cmdAdd", 3480, 6360, 2415, 615, 0x00FF8080},
                           {"cmdClose", 6000, 6360, 2415, 615, 0x008080FF}});
    EXPECT_EQ(window_->TransPicBox1->geometry(), QRect(8, -8, 106, 120));
    EXPECT_EQ(window_->TransPicBox1->MaskColor(), 0x00FF00FFu);
    EXPECT_EQ(window_->txtTaskName->maxLength(), 50);
    EXPECT_EQ(window_->txtDescription->maxLength(), 255);

    Fill(1, QStringLiteral("Call"), QStringLiteral("why"), QStringLiteral("05 Jan 2024"), 2);
    window_->cmdClose->click();
    EXPECT_FALSE(window_->isVisible());
    window_->Show(false);
    ExpectFields(1, QStringLiteral("Call"), QStringLiteral("why"), QStringLiteral("05 Jan 2024"),
                 2);

    window_->close();
    Shared<frmAddTask>().Show(false);
    ExpectFields(-1, QString(), QString(), QString(), 0);
    ASSERT_EQ(window_->cbPriority->count(), 3);
    EXPECT_EQ(window_->cbPriority->itemText(0), QStringLiteral("0 - Normal"));
    EXPECT_EQ(window_->cbPriority->itemText(1), QStringLiteral("1 - Medium"));
    EXPECT_EQ(window_->cbPriority->itemText(2), QStringLiteral("2 - High"));
    EXPECT_TRUE(Boxes().empty());
}

} // namespace
