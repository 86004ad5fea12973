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

#include <QAccessible>

namespace {

class Accessibility : public WindowFixture {};

// A screen reader names a field by its accessible name: every field, list and drop-down of
// every window must have one, and every window must read with its caption.
TEST_F(Accessibility, EveryWindowReadsWithItsCaptionAndEveryFieldWithItsName) {
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

} // namespace
