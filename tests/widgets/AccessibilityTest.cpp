#include "support/WindowFixture.h"

#include "app/Module1.h"
#include "controls/McListBox/McListBox.h"
#include "platform/forms/Controls.h"
#include "windows/frmAboutProduct.h"
#include "windows/frmAboutProgrammer.h"
#include "windows/frmAddGroup.h"
#include "windows/frmAddTask.h"
#include "windows/frmChangePassword.h"
#include "windows/frmCreateAccount.h"
#include "windows/frmLogIn.h"
#include "windows/frmMain.h"

#include "platform/db/Connection.h"

#include <QAccessible>
#include <QLabel>

namespace {

class Accessibility : public WindowFixture {};

// A screen reader names a field by its accessible name: every field, list and drop-down of
// every window must have one, and every window must read as a frame with its caption (a
// filler is not announced when it opens).
TEST_F(Accessibility, EveryWindowReadsAsAFrameWithItsCaptionAndEveryFieldWithItsName) {
    Module1::SetCurrentUserID(QStringLiteral("1"));
    frmLogIn logIn;
    logIn.EnsureLoaded();
    const QList<QWidget*> windows = {&logIn,
                                     &Shared<frmCreateAccount>(),
                                     &Shared<frmChangePassword>(),
                                     &Shared<frmMain>(),
                                     &Shared<frmAddGroup>(),
                                     &Shared<frmAddTask>(),
                                     &Shared<frmAboutProduct>(),
                                     &Shared<frmAboutProgrammer>()};
    for (QWidget* window : windows) {
        const std::string where = window->objectName().toStdString();
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(window);
        ASSERT_NE(reader, nullptr) << where;
        EXPECT_EQ(reader->text(QAccessible::Name), window->windowTitle()) << where;
        EXPECT_EQ(reader->role(), QAccessible::Window) << where;
        QList<QWidget*> fields;
        for (QWidget* child : window->findChildren<QWidget*>())
            if (qobject_cast<TextBox*>(child) || qobject_cast<ComboBox*>(child) ||
                qobject_cast<McListBox*>(child))
                fields << child;
        for (QWidget* field : fields) {
            const QString name =
                QAccessible::queryAccessibleInterface(field)->text(QAccessible::Name);
            EXPECT_FALSE(name.trimmed().isEmpty())
                << where << "." << field->objectName().toStdString() << " has no name";
        }
    }
}

// The details labels keep their names and carry the to-do's details as their description,
// whichever to-do is chosen: a reader hears each new text as a change of description (that
// event reaches a reader only on a real desktop: see the end-to-end check).
TEST_F(Accessibility, DetailsLabelsAreNamedAndCarryTheChosenToDosDetails) {
    Module1::SetCurrentUserID(QStringLiteral("1"));
    Module1::DbConnection().Execute(QStringLiteral(
        "INSERT INTO tblTasks(TaskID,UserID,GroupID,TaskName,TaskDescription,"
        "DueDate,Priority,MarkAsDone) VALUES(4,1,1,'Post','Stamps','2024-01-05',2,0)"));
    frmMain& window = Shared<frmMain>();
    Module1::RefreshLists();
    window.lstGroups->setListIndex(0);
    window.lstTasks->setListIndex(0);
    ASSERT_EQ(window.lstTasks->Text(), QStringLiteral("4 - Post"));
    for (QLabel* label :
         {static_cast<QLabel*>(window.lblTitle), static_cast<QLabel*>(window.lblDescription)}) {
        const std::string where = label->objectName().toStdString();
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(label);
        EXPECT_FALSE(reader->text(QAccessible::Name).trimmed().isEmpty()) << where;
        EXPECT_NE(reader->text(QAccessible::Name), label->text()) << where;
        EXPECT_EQ(reader->text(QAccessible::Description), label->text()) << where;
    }
    EXPECT_EQ(window.lblTitle->accessibleDescription(), QStringLiteral(" Post"));
    EXPECT_TRUE(window.lblDescription->accessibleDescription().endsWith(
        QStringLiteral("Priority: High\r\nStamps")));
}

} // namespace
