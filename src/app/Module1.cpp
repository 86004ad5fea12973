#include "app/Module1.h"

#include "app/Statements.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "platform/forms/Locale.h"
#include "platform/forms/MessageBox.h"
#include "platform/forms/ProgramEnd.h"
#include "windows/frmCreateAccount.h"
#include "windows/frmLogIn.h"
#include "windows/frmMain.h"

#include <QCoreApplication>

namespace Module1 {
namespace {

QString& CurrentUserIdStorage() {
    static QString id;
    return id;
}

QString& ProgramFolderOverride() {
    static QString folder;
    return folder;
}

enum class Outcome { Done, PassedOver, Ended };

// One step of the start-up routine under its error handler: an error numbered 76 is passed
// over; any other error shows its description and ends the program.
template <class Body> Outcome Step(Body&& body) {
    try {
        body();
        return Outcome::Done;
    } catch (const RuntimeError& error) {
        if (error.Number() == 76)
            return Outcome::PassedOver;
        MessageBox(error.Description(), MsgBox::kInformation);
    } catch (const std::exception& error) {
        MessageBox(QString::fromLocal8Bit(error.what()), MsgBox::kInformation);
    }
    EndProgram();
    return Outcome::Ended;
}

} // namespace

Connection& DbConnection() {
    static Connection connection;
    return connection;
}

const QString& CurrentUserID() {
    return CurrentUserIdStorage();
}
void SetCurrentUserID(const QString& id) {
    CurrentUserIdStorage() = id;
}

std::unique_ptr<Recordset> OpenRecordset(const Statement& statement) {
    auto recordset = std::make_unique<Recordset>();
    recordset->Open(statement, DbConnection(), 1, -1, -1);
    return recordset;
}

QString TextBeforeSeparator(const QString& text, const QString& separator) {
    const qsizetype position = text.indexOf(separator, 0, Qt::CaseSensitive) + 1;
    if (position < 2)
        return text;
    return Locale::TrimSpaces(text.left(position - 1));
}

QString ProgramFolder() {
    const QString& folder = ProgramFolderOverride();
    return folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder;
}

void SetProgramFolder(const QString& folder) {
    ProgramFolderOverride() = folder;
}

bool Main() {
    if (Step([] {
            DbConnection().Open(ConnectionString(ProgramFolder()), QString(), QString(), -1);
        }) == Outcome::Ended)
        return false;

    // The routine's own log-in instance; it stays loaded and hidden for the rest of the run.
    static frmLogIn* logIn = nullptr;
    if (Step([] {
            delete logIn;
            logIn = new frmLogIn();
        }) == Outcome::Ended)
        return false;

    for (;;) {
        if (Step([] { logIn->Show(true); }) == Outcome::Ended || ProgramEnd::HasEnded())
            return false;
        if (logIn->Authenticated) {
            if (Step([] { SetCurrentUserID(logIn->iUserID); }) == Outcome::Ended)
                return false;
            return Step([] { Shared<frmMain>().Show(false); }) == Outcome::Done;
        }
        if (!logIn->NewAccount) {
            EndProgram();
            return false;
        }
        if (Step([] { Shared<frmCreateAccount>().Show(true); }) == Outcome::Ended ||
            ProgramEnd::HasEnded())
            return false;
    }
}

} // namespace Module1
