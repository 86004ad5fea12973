#include "support/WindowFixture.h"

#include "app/Module1.h"
#include "app/Statements.h"
#include "controls/McListBox/McListBox.h"
#include "controls/TransPicBox.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "platform/forms/Controls.h"
#include "platform/forms/ProgramEnd.h"
#include "platform/forms/Shell.h"
#include "platform/forms/Twips.h"
#include "windows/frmAboutProduct.h"
#include "windows/frmAboutProgrammer.h"
#include "windows/frmAddGroup.h"
#include "windows/frmAddTask.h"
#include "windows/frmChangePassword.h"
#include "windows/frmCreateAccount.h"
#include "windows/frmMain.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

class MainWindow : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        Module1::SetCurrentUserID(QStringLiteral("1"));
        Shell::SetOpener([this](const QUrl& address) { opened_.push_back(address); });
        window_ = &Shared<frmMain>();
        window_->Show(false);
        Module1::RefreshLists();
        FocusIn(window_, window_->lstGroups);
    }
    void TearDown() override {
        Shell::SetOpener(nullptr);
        WindowFixture::TearDown();
    }

    static void Run(const QString& statement) { Module1::DbConnection().Execute(statement); }
    static int Count(const QString& query) {
        auto rs = Module1::OpenRecordset({query, {}});
        return static_cast<int>(rs->Fields(QStringLiteral("n")).Value().ToInteger());
    }
    static void AddTask(int id, int user, int group, const QString& name, const QString& due,
                        const QString& priority, const QString& description, bool done = false) {
        Module1::DbConnection().Execute(
            QStringLiteral("INSERT INTO tblTasks(TaskID,UserID,GroupID,TaskName,TaskDescription,"
                           "DueDate,Priority,MarkAsDone) VALUES(%1,%2,%3,?,?,?,%4,%5)")
                .arg(id)
                .arg(user)
                .arg(group)
                .arg(priority)
                .arg(done ? 1 : 0),
            {name, description, due});
    }

    // Selects the row with the given text, as a press on it would.
    static void Choose(McListBox* list, const QString& text) {
        for (int i = 0; i < list->ListCount(); ++i)
            if (list->List(i) == text) {
                list->setListIndex(i);
                return;
            }
        ADD_FAILURE() << "no row " << text.toStdString();
    }
    static QStringList Rows(const McListBox* list) {
        QStringList rows;
        for (int i = 0; i < list->ListCount(); ++i)
            rows << list->List(i);
        return rows;
    }

    frmMain* window_ = nullptr;
    std::vector<QUrl> opened_;
};

TEST_F(MainWindow, ListsEveryGroupButOnlyTheUsersOpenTodos) {
    Run(QStringLiteral("INSERT INTO tblGroups(GroupID,UserID,GroupName) VALUES(2,2,'Theirs')"));
    Run(QStringLiteral("INSERT INTO tblGroups(GroupID,UserID,GroupName) VALUES(3,1,'Work')"));
    AddTask(5, 1, 3, QStringLiteral("Call Ann - and Bob"), QStringLiteral("2024-01-05"),
            QStringLiteral("1"), QStringLiteral("d"));
    AddTask(6, 2, 3, QStringLiteral("someone else's"), QStringLiteral("2024-01-05"),
            QStringLiteral("0"), QString());
    AddTask(7, 1, 3, QStringLiteral("already done"), QStringLiteral("2024-01-05"),
            QStringLiteral("0"), QString(), true);
    Module1::RefreshLists();
    EXPECT_EQ(Rows(window_->lstGroups), QStringList({"1 - General", "2 - Theirs", "3 - Work"}));
    EXPECT_EQ(window_->lstTasks->ListCount(), 0) << "a refresh lists no to-dos";

    Choose(window_->lstGroups, QStringLiteral("3 - Work"));
    EXPECT_EQ(Rows(window_->lstTasks), QStringList({"5 - Call Ann - and Bob"}));

    // Another user's to-do is not reached through its id either.
    Module1::SetCurrentUserID(QStringLiteral("2"));
    Choose(window_->lstTasks, QStringLiteral("5 - Call Ann - and Bob"));
    EXPECT_TRUE(window_->lblTitle->text().isEmpty());
    Module1::SetCurrentUserID(QStringLiteral("1"));

    Choose(window_->lstGroups, QStringLiteral("1 - General"));
    EXPECT_EQ(Rows(window_->lstTasks), QStringList({"No todo found."}));
    window_->lstTasks->setListIndex(0);
    EXPECT_TRUE(window_->lblTitle->text().isEmpty());
    EXPECT_TRUE(window_->lblDescription->text().isEmpty());
}

TEST_F(MainWindow, DetailsShowNameDatePriorityWordAndDescription) {
    AddTask(5, 1, 1, QStringLiteral("Tickets - 2"), QStringLiteral("2024-01-05"),
            QStringLiteral("1"), QStringLiteral("Line one\r\nLine two"));
    AddTask(6, 1, 1, QStringLiteral("High one"), QStringLiteral("2024-12-31"), QStringLiteral("2"),
            QString());
    AddTask(7, 1, 1, QStringLiteral("No priority"), QStringLiteral("2024-01-05"),
            QStringLiteral("NULL"), QString());
    Choose(window_->lstGroups, QStringLiteral("1 - General"));

    Choose(window_->lstTasks, QStringLiteral("5 - Tickets - 2"));
    EXPECT_EQ(window_->lblTitle->text(), QStringLiteral(" Tickets - 2"));
    EXPECT_EQ(window_->lblDescription->text(),
              QStringLiteral("DueDate: 05 Jan 2024") + QString(34, u' ') +
                  QStringLiteral("Priority: Medium\r\nLine one\r\nLine two"));
    Choose(window_->lstTasks, QStringLiteral("6 - High one"));
    EXPECT_EQ(window_->lblDescription->text(), QStringLiteral("DueDate: 31 Dec 2024") +
                                                   QString(34, u' ') +
                                                   QStringLiteral("Priority: High\r\n"));
    Choose(window_->lstTasks, QStringLiteral("7 - No priority"));
    EXPECT_TRUE(window_->lblDescription->text().contains(QStringLiteral("Priority: High\r\n")));
}

TEST_F(MainWindow, IdsBeyondSixteenBitsReachTheirOwnRows) {
    Run(QStringLiteral("INSERT INTO tblGroups(GroupID,UserID,GroupName) VALUES(40000,1,'Big')"));
    AddTask(70000, 1, 40000, QStringLiteral("far"), QStringLiteral("2024-01-05"),
            QStringLiteral("0"), QStringLiteral("x"));
    AddTask(4464, 1, 40000, QStringLiteral("wrapped id"), QStringLiteral("2024-01-05"),
            QStringLiteral("0"), QStringLiteral("y"));
    Module1::RefreshLists();
    Choose(window_->lstGroups, QStringLiteral("40000 - Big"));
    Choose(window_->lstTasks, QStringLiteral("70000 - far"));
    EXPECT_EQ(window_->lblTitle->text(), QStringLiteral(" far"));
    window_->cmdMarkAsDone->click();
    EXPECT_FALSE(ProgramEnded());
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) AS n FROM tblTasks WHERE MarkAsDone=0")), 1)
        << "only to-do 70000 is done, not the one its id wraps to in 16 bits";
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) AS n FROM tblTasks WHERE TaskID=4464 AND "
                                   "MarkAsDone=0")),
              1);
}

TEST_F(MainWindow, MarkAsDoneNeedsARealTodo) {
    window_->cmdMarkAsDone->click();
    EXPECT_EQ(LastBoxText(), QStringLiteral("A task must be selected to be marked as done."));
    EXPECT_EQ(Boxes().back().style, MsgBox::kExclamation);
    EXPECT_EQ(Boxes().back().title, QStringLiteral("Pelmoran Todo List"));

    AddTask(5, 1, 1, QStringLiteral("Book"), QStringLiteral("2024-01-05"), QStringLiteral("0"),
            QString());
    Choose(window_->lstGroups, QStringLiteral("1 - General"));
    Run(QStringLiteral("UPDATE tblTasks SET MarkAsDone=1"));
    Choose(window_->lstGroups, QStringLiteral("1 - General"));
    ASSERT_EQ(Rows(window_->lstTasks), QStringList({"No todo found."}));
    window_->lstTasks->setListIndex(0);
    const std::size_t before = Boxes().size();
    window_->cmdMarkAsDone->click();
    ASSERT_EQ(Boxes().size(), before + 1);
    EXPECT_EQ(LastBoxText(), QStringLiteral("A task must be selected to be marked as done."))
        << "the placeholder is no to-do, and nothing was marked";

    Run(QStringLiteral("UPDATE tblTasks SET MarkAsDone=0"));
    Choose(window_->lstGroups, QStringLiteral("1 - General"));
    Choose(window_->lstTasks, QStringLiteral("5 - Book"));
    window_->cmdMarkAsDone->click();
    EXPECT_EQ(LastBoxText(), QStringLiteral("Task has successfully been marked as done."));
    EXPECT_EQ(Boxes().back().style, MsgBox::kInformation);
    EXPECT_EQ(window_->lstTasks->ListCount(), 0) << "the refresh empties the to-do list";
    Choose(window_->lstGroups, QStringLiteral("1 - General"));
    EXPECT_EQ(Rows(window_->lstTasks), QStringList({"No todo found."}));
}

TEST_F(MainWindow, RemoveGroupAsksAndTakesTheGroupsTodosWithIt) {
    Run(QStringLiteral("INSERT INTO tblGroups(GroupID,UserID,GroupName) VALUES(2,2,'Other')"));
    AddTask(5, 1, 2, QStringLiteral("in it"), QStringLiteral("2024-01-05"), QStringLiteral("0"),
            QString());
    AddTask(6, 1, 1, QStringLiteral("elsewhere"), QStringLiteral("2024-01-05"), QStringLiteral("0"),
            QString());
    Module1::RefreshLists();

    Choose(window_->lstGroups, QStringLiteral("1 - General"));
    window_->cmdDeleteGroup->click();
    EXPECT_EQ(LastBoxText(), QStringLiteral("Default group may not be deleted."));
    EXPECT_EQ(Boxes().back().style, MsgBox::kInformation);

    Choose(window_->lstGroups, QStringLiteral("2 - Other"));
    AnswerBoxesWith(MsgBox::kNo);
    const std::size_t before = Boxes().size();
    window_->cmdDeleteGroup->click();
    ASSERT_EQ(Boxes().size(), before + 1) << "No shows nothing more";
    EXPECT_EQ(LastBoxText(), QStringLiteral("All the Todo's in this group will be deleted from "
                                            "the selected group.\r\nDo you really want to "
                                            "delete this group?"));
    EXPECT_EQ(Boxes().back().style, MsgBox::kQuestion | MsgBox::kYesNo);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) AS n FROM tblGroups")), 2);

    AnswerBoxesWith(MsgBox::kYes);
    window_->cmdDeleteGroup->click();
    EXPECT_EQ(LastBoxText(), QStringLiteral("Group Deleted successfully"));
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) AS n FROM tblGroups")), 1);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) AS n FROM tblTasks")), 1)
        << "its to-dos went with it, the other group's stayed";
    EXPECT_EQ(Rows(window_->lstGroups), QStringList({"1 - General"}));
}

TEST_F(MainWindow, ExitAndTheCloseBoxOpenTheSiteOnceAndEndWithOtherWindowsOpen) {
    for (bool closeBox : {false, true}) {
        window_->Show(false);
        Shared<frmCreateAccount>().Show(false);
        ProgramEnd::ResetEnded();
        opened_.clear();
        if (closeBox)
            window_->close();
        else
            window_->cmdExit->click();
        EXPECT_TRUE(ProgramEnded()) << closeBox;
        ASSERT_EQ(opened_.size(), 1u) << closeBox;
        EXPECT_EQ(opened_[0], Shell::WebSite());
        EXPECT_EQ(opened_[0].host(), QStringLiteral("www.pelmoran.example"));
    }
    window_->Show(false);
    ProgramEnd::ResetEnded();
    opened_.clear();
    QTest::mouseClick(window_->Image2, Qt::LeftButton);
    EXPECT_EQ(opened_.size(), 1u);
    EXPECT_FALSE(ProgramEnded()) << "the maker's strip only opens the site";
}

TEST_F(MainWindow, KeyboardAloneChoosesAGroupAndWalksTheControls) {
    AddTask(5, 1, 1, QStringLiteral("first"), QStringLiteral("2024-01-05"), QStringLiteral("0"),
            QString());
    AddTask(6, 1, 1, QStringLiteral("second"), QStringLiteral("2024-01-05"), QStringLiteral("0"),
            QString());
    EXPECT_EQ(QApplication::focusWidget(), window_->lstGroups);
    QTest::keyClick(window_->lstGroups, Qt::Key_Down);
    EXPECT_EQ(window_->lstGroups->Text(), QStringLiteral("1 - General"));
    EXPECT_EQ(Rows(window_->lstTasks), QStringList({"5 - first", "6 - second"}))
        << "an arrow key selects even the only row";
    window_->lstTasks->setFocus();
    QTest::keyClick(window_->lstTasks, Qt::Key_Down);
    EXPECT_EQ(window_->lblTitle->text(), QStringLiteral(" first"))
        << "the first row, not the second";
    QTest::keyClick(window_->lstTasks, Qt::Key_Down);
    EXPECT_EQ(window_->lblTitle->text(), QStringLiteral(" second"));
    window_->lstGroups->setFocus();

    const QList<QWidget*> order = {
        window_->cmdAddGroup,        window_->cmdDeleteGroup,  window_->lstTasks,
        window_->cmdMarkAsDone,      window_->cmdAddTask,      window_->cmdExit,
        window_->cmdAboutProgrammer, window_->cmdAboutProduct, window_->cmdChangePassword,
        window_->Command1,           window_->lstGroups};
    for (QWidget* next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
    }

    // A key two buttons share moves the focus between them and presses neither; a key one
    // button carries presses it.
    const std::size_t before = Boxes().size();
    QTest::keyClick(window_, Qt::Key_N, Qt::AltModifier);
    QWidget* first = QApplication::focusWidget();
    QTest::keyClick(window_, Qt::Key_N, Qt::AltModifier);
    QWidget* second = QApplication::focusWidget();
    EXPECT_TRUE(first == window_->cmdAddGroup || first == window_->cmdAddTask);
    EXPECT_TRUE(second == window_->cmdAddGroup || second == window_->cmdAddTask);
    EXPECT_NE(first, second);
    EXPECT_EQ(VisibleWindow<frmAddTask>(), nullptr);
    EXPECT_EQ(Boxes().size(), before);
    QTest::keyClick(window_, Qt::Key_M, Qt::AltModifier);
    // A shortcut presses its button visibly first, then clicks it.
    ASSERT_TRUE(QTest::qWaitFor([&] { return Boxes().size() > before; }, 2000));
    ASSERT_EQ(Boxes().size(), before + 1);
    EXPECT_EQ(LastBoxText(), QStringLiteral("Task has successfully been marked as done."));
}

TEST_F(MainWindow, ASharedAccessKeyMovesTheFocusToTheNextOfItsControls) {
    const auto alt = [](QWidget* window, Qt::Key key) {
        QTest::keyClick(window, key, Qt::AltModifier);
        return QApplication::focusWidget();
    };
    EXPECT_EQ(alt(window_, Qt::Key_N), window_->cmdAddGroup);
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), window_->cmdAddTask);
    EXPECT_EQ(alt(window_, Qt::Key_N), window_->cmdAddGroup) << "from the focus, wrapping";
    EXPECT_EQ(alt(window_, Qt::Key_N), window_->cmdAddTask);
    EXPECT_EQ(alt(window_, Qt::Key_A), window_->cmdAboutProgrammer);
    EXPECT_EQ(alt(window_, Qt::Key_A), window_->cmdAboutProduct);
    EXPECT_EQ(alt(window_, Qt::Key_C), window_->cmdChangePassword);
    EXPECT_EQ(alt(window_, Qt::Key_C), window_->Command1);
    EXPECT_EQ(alt(window_, Qt::Key_C), window_->cmdChangePassword);
    EXPECT_EQ(VisibleWindow<frmAddTask>(), nullptr);
    EXPECT_EQ(VisibleWindow<frmAddGroup>(), nullptr);
    EXPECT_EQ(VisibleWindow<frmChangePassword>(), nullptr);
    EXPECT_TRUE(Boxes().empty()) << "a shared key presses nothing";

    // A label's key reaches its field, in the field's place in the focus order.
    frmCreateAccount& account = Shared<frmCreateAccount>();
    account.Show(false);
    FocusIn(&account, account.txtUserID);
    EXPECT_EQ(alt(&account, Qt::Key_C), account.txtConfirmPassword);
    EXPECT_EQ(alt(&account, Qt::Key_C), account.cmdCreate);
    EXPECT_EQ(alt(&account, Qt::Key_C), account.cmdCancel);
    EXPECT_EQ(alt(&account, Qt::Key_C), account.txtConfirmPassword);
    EXPECT_EQ(alt(&account, Qt::Key_P), account.txtPassword) << "a key of one control";
    EXPECT_TRUE(account.isVisible());
    account.Hide();
}

TEST_F(MainWindow, AddTodoFirstOpensInTheGroupBoxAndLaterKeepsTheFocus) {
    Shared<frmAddTask>().close();
    Module1::RefreshLists();
    // Enter presses the focused button; its release reaches the window it opened.
    FocusIn(window_, window_->cmdAddTask);
    QTest::keyPress(window_->cmdAddTask, Qt::Key_Return);
    frmAddTask* add = VisibleWindow<frmAddTask>();
    ASSERT_NE(add, nullptr);
    ASSERT_EQ(add->focusWidget(), add->cbGroups);
    QTest::keyRelease(add->cbGroups, Qt::Key_Return);
    EXPECT_EQ(add->focusWidget(), add->cbGroups) << "the release is no Enter in the box";

    FocusIn(add, add->txtDate);
    add->cmdClose->click();
    FocusIn(window_, window_->cmdAddTask);
    QTest::keyClick(window_->cmdAddTask, Qt::Key_Return);
    EXPECT_TRUE(add->isVisible());
    EXPECT_EQ(add->focusWidget(), add->txtDate) << "a later showing keeps the focus";
    add->Hide();
}

TEST_F(MainWindow, CommandsOnAListWithNoSelectedRowFindNothingSelected) {
    AddTask(5, 1, 1, QStringLiteral("Book"), QStringLiteral("2024-01-05"), QStringLiteral("0"),
            QString());
    Choose(window_->lstGroups, QStringLiteral("1 - General"));
    ASSERT_EQ(window_->lstTasks->Text(), QStringLiteral("5 - Book")) << "current, not selected";
    window_->cmdMarkAsDone->click();
    EXPECT_EQ(LastBoxText(), QStringLiteral("A task must be selected to be marked as done."));
    EXPECT_EQ(Boxes().back().style, MsgBox::kExclamation);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) AS n FROM tblTasks WHERE MarkAsDone=0")), 1);

    Run(QStringLiteral("INSERT INTO tblGroups(GroupID,UserID,GroupName) VALUES(2,1,'Work')"));
    Module1::RefreshLists();
    ASSERT_EQ(window_->lstGroups->Text(), QStringLiteral("1 - General"));
    window_->cmdDeleteGroup->click();
    EXPECT_EQ(LastBoxText(), QStringLiteral("A group must be selected to be removed."));
    EXPECT_EQ(Boxes().back().style, MsgBox::kExclamation);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) AS n FROM tblGroups")), 2);
}

TEST_F(MainWindow, ABoxAfterTheRemovalQuestionIsCentredOnTheWindow) {
    Run(QStringLiteral("INSERT INTO tblGroups(GroupID,UserID,GroupName) VALUES(2,1,'Work')"));
    Module1::RefreshLists();
    Choose(window_->lstGroups, QStringLiteral("2 - Work"));
    window_->move(40, 30);
    MsgBox::SetResponder(nullptr);
    std::vector<std::pair<QString, QPoint>> shown;
    // Each real box is noted and answered as soon as it shows.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || (!shown.empty() && shown.back().first == box->text()))
            return;
        shown.emplace_back(box->text(), box->frameGeometry().center());
        QAbstractButton* button = box->button(QMessageBox::Yes);
        (button ? button : box->button(QMessageBox::Ok))->click();
    });
    answer.start(0);
    window_->cmdDeleteGroup->click();
    answer.stop();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].first, QStringLiteral("Group Deleted successfully"));
    const QPoint centre = window_->frameGeometry().center();
    for (const auto& [text, at] : shown)
        EXPECT_LE((at - centre).manhattanLength(), 2) << text.toStdString();
}

TEST_F(MainWindow, CommandsShowOneSharedInstanceEachAndAddTodoRefreshes) {
    const std::pair<CommandButton*, std::function<QWidget*()>> commands[] = {
        {window_->Command1, [] { return &Shared<frmCreateAccount>(); }},
        {window_->cmdChangePassword, [] { return &Shared<frmChangePassword>(); }},
        {window_->cmdAboutProduct, [] { return &Shared<frmAboutProduct>(); }},
        {window_->cmdAboutProgrammer, [] { return &Shared<frmAboutProgrammer>(); }},
        {window_->cmdAddGroup, [] { return &Shared<frmAddGroup>(); }},
        {window_->cmdAddTask, [] { return &Shared<frmAddTask>(); }},
    };
    for (const auto& [button, shared] : commands) {
        button->click();
        button->click();
        QWidget* shown = shared();
        EXPECT_TRUE(shown->isVisible()) << button->objectName().toStdString();
        EXPECT_FALSE(shown->isModal());
        int visible = 0;
        for (QWidget* top : QApplication::topLevelWidgets())
            visible += top->isVisible() && top->metaObject() == shown->metaObject();
        EXPECT_EQ(visible, 1) << "one instance of " << button->objectName().toStdString();
        EXPECT_TRUE(window_->isEnabled()) << "the main window stays usable";
    }

    Run(QStringLiteral("INSERT INTO tblGroups(GroupID,UserID,GroupName) VALUES(2,1,'Work')"));
    Choose(window_->lstGroups, QStringLiteral("1 - General"));
    ASSERT_EQ(window_->lstTasks->ListCount(), 1);
    window_->cmdAddTask->click();
    EXPECT_EQ(window_->lstTasks->ListCount(), 0) << "the lists were refreshed";
    QComboBox* groups = Shared<frmAddTask>().cbGroups;
    EXPECT_NE(groups->findText(QStringLiteral("2 - Work")), -1) << "its group box refilled";
    EXPECT_TRUE(groups->currentText().isEmpty()) << "and no group chosen";
}

TEST_F(MainWindow, AScreenReaderReadsNamedRowsAndChoosesThem) {
    AddTask(5, 1, 1, QStringLiteral("first"), QStringLiteral("2024-01-05"), QStringLiteral("0"),
            QString());
    Run(QStringLiteral("INSERT INTO tblGroups(GroupID,UserID,GroupName) VALUES(2,1,'Work')"));
    Module1::RefreshLists();

    QAccessibleInterface* groups = QAccessible::queryAccessibleInterface(window_->lstGroups);
    ASSERT_NE(groups, nullptr);
    EXPECT_EQ(groups->role(), QAccessible::List);
    EXPECT_EQ(groups->text(QAccessible::Name), QStringLiteral("Select Group:"));
    ASSERT_EQ(groups->childCount(), 2);
    EXPECT_EQ(groups->child(0)->role(), QAccessible::ListItem);
    EXPECT_EQ(groups->child(1)->text(QAccessible::Name), QStringLiteral("2 - Work"));
    EXPECT_EQ(groups->indexOfChild(groups->child(1)), 1);

    FocusIn(window_, window_->lstGroups);
    QTest::keyClick(window_->lstGroups, Qt::Key_Down);
    EXPECT_TRUE(groups->child(0)->state().selected);
    EXPECT_TRUE(groups->child(0)->state().focused);
    EXPECT_EQ(groups->focusChild(), groups->child(0));
    QTest::keyClick(window_->lstGroups, Qt::Key_Down);
    EXPECT_FALSE(groups->child(0)->state().selected);
    EXPECT_TRUE(groups->child(1)->state().focused);
    // Choosing a row through the reader is choosing it: the host hears SelChange.
    groups->child(0)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QAccessibleInterface* tasks = QAccessible::queryAccessibleInterface(window_->lstTasks);
    ASSERT_EQ(tasks->childCount(), 1);
    EXPECT_EQ(tasks->child(0)->text(QAccessible::Name), QStringLiteral("5 - first"));
    EXPECT_EQ(tasks->text(QAccessible::Name), QStringLiteral("Select Todo:"));

    // Pictures: decoration is left out, the maker's strip is a link that opens the site.
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(window_->Image1)->state().invisible);
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(window_->TransPicBox1)->state().invisible);
    QAccessibleInterface* strip = QAccessible::queryAccessibleInterface(window_->Image2);
    EXPECT_EQ(strip->role(), QAccessible::Link);
    EXPECT_FALSE(strip->state().invisible);
    strip->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(opened_.size(), 1u);
}

TEST_F(MainWindow, LaysOutEveryControlAsDesigned) {
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("Pelmoran Todo List"));
    EXPECT_EQ(window_->size(), QSize(724, 599));
    struct Placement {
        QWidget* control;
        QRect twips;
    };
    const Placement placements[] = {
        {window_->Image1, {0, 0, 10935, 1335}},
        {window_->Label1, {2040, 120, 7095, 1095}},
        {window_->Command1, {2280, 1440, 2175, 615}},
        {window_->cmdChangePassword, {4680, 1440, 1935, 615}},
        {window_->cmdAboutProduct, {6720, 1440, 1935, 615}},
        {window_->cmdAboutProgrammer, {8760, 1440, 1935, 615}},
        {window_->cmdAddGroup, {120, 2160, 2055, 615}},
        {window_->cmdDeleteGroup, {2280, 2160, 2175, 615}},
        {window_->cmdAddTask, {4680, 2160, 1935, 615}},
        {window_->cmdMarkAsDone, {6720, 2160, 1935, 615}},
        {window_->cmdExit, {8760, 2160, 1935, 615}},
        {window_->Label2, {120, 2880, 1335, 495}},
        {window_->Label3, {4680, 2880, 1215, 495}},
        {window_->lstGroups, {120, 3240, 4335, 5175}},
        {window_->lstTasks, {4680, 3240, 6015, 3495}},
        {window_->lblTitle, {4680, 6840, 6015, 375}},
        {window_->lblDescription, {4680, 7200, 6015, 1215}},
        {window_->Image2, {4680, 8520, 6315, 465}},
    };
    for (const Placement& p : placements) {
        const QRect& t = p.twips;
        EXPECT_EQ(p.control->geometry(), TwipsRect(t.x(), t.y(), t.width(), t.height()))
            << p.control->objectName().toStdString();
        if (auto* label = qobject_cast<QLabel*>(p.control)) {
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
                << "caption fits: " << label->objectName().toStdString();
        }
    }
    EXPECT_EQ(window_->Image2->pixmap().size(), QSize(421, 31));

    // The lists' stored settings, and a default that was not stored.
    EXPECT_EQ(window_->lstGroups->BackColor(), 0x00C0FFC0u);
    EXPECT_EQ(window_->lstGroups->ForeColor(), 0x00004000u);
    EXPECT_EQ(window_->lstGroups->SelGradient(), 5);
    EXPECT_EQ(window_->lstTasks->ForeColor(), 0x80000012u);
    EXPECT_EQ(window_->lstTasks->GridColor(), 0x00FF0000u);
    EXPECT_EQ(window_->lstTasks->SelGradient(), 1);
    EXPECT_EQ(window_->lstTasks->BackGradientCol(), 0x00FF8080u);
    for (McListBox* list : {window_->lstGroups, window_->lstTasks}) {
        EXPECT_EQ(list->RowHeight(), 32);
        EXPECT_TRUE(list->FullRowSelect());
        EXPECT_TRUE(list->GridLines());
        EXPECT_EQ(list->BackGradient(), 6);
        EXPECT_EQ(list->SelColor(), 0x000080FFu);
        EXPECT_EQ(list->SelForeColor(), 0x00004080u);
        EXPECT_EQ(list->SelGradientCol(), 0x00C0E0FFu);
        EXPECT_FALSE(list->MultiSelect());
        EXPECT_EQ(list->Font().pointSizeF(), 8.25);
    }
}

} // namespace
