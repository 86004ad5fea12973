#include "app/Module1.h"

#include "app/Statements.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "platform/forms/Locale.h"
#include "platform/forms/MessageBox.h"
#include "platform/forms/ProgramEnd.h"
#include "windows/frmAddTask.h"
#include "windows/frmCreateAccount.h"
#include "windows/frmLogIn.h"
#include "windows/frmMain.h"

#include "controls/McListBox/McListBox.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QScopeGuard>
#include <QStringBuilder>
#include <cmath>
#include <exception>
#include <future>
#include <limits>

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

// The opening of the connection under way on its own thread, if one is.
std::future<void>& OpeningStorage() {
    static std::future<void> opening;
    return opening;
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
    EndProgram(kErrorExitStatus);
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

int RowId(const QString& rowText) {
    const double value =
        std::nearbyint(Locale::Val(TextBeforeSeparator(rowText, QStringLiteral("-"))));
    if (!(value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max()))
        throw RuntimeError::Overflow();
    return static_cast<int>(value);
}

void RefreshLists() {
    try {
        auto groups = OpenRecordset(Statements::S1());
        frmMain& main = Shared<frmMain>();
        if (groups->RecordCount() > 0) {
            QComboBox* box = Shared<frmAddTask>().cbGroups;
            box->clear();
            main.lstGroups->Clear();
            groups->MoveFirst();
            {
                // The box takes its rows in one insertion, whose one model notification costs
                // less than a notification a row; a failing row still leaves the rows before.
                QStringList rows;
                rows.reserve(groups->RecordCount());
                const auto fillBox = qScopeGuard([&] { box->addItems(rows); });
                // A field follows the current row: each is looked up by name once.
                const Field id = groups->Fields(QStringLiteral("groupID"));
                const Field name = groups->Fields(QStringLiteral("GroupName"));
                for (int i = 0; i < groups->RecordCount(); ++i) {
                    // Built in one allocation, where `+` would make a text at each step.
                    const QString row =
                        id.Value().ToString() % QLatin1String(" - ") % name.Value().ToString();
                    main.lstGroups->AddItem(row);
                    rows.append(row);
                    groups->MoveNext();
                }
            }
            // The current group's open to-dos are read but not listed: the to-do list stays
            // empty until the user picks a group, so a refresh never shows a group's to-dos
            // under a selection the user did not make. A current row that no longer reads as
            // a group stops the refresh here, as any other error does.
            OpenRecordset(Statements::S2(CurrentUserID(), RowId(main.lstGroups->Text())));
        }
        main.lstTasks->Clear();
    } catch (const std::exception&) {
        // The refresh reports nothing; rows already added stay.
    }
}

QString ProgramFolder() {
    const QString& folder = ProgramFolderOverride();
    return folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder;
}

void SetProgramFolder(const QString& folder) {
    ProgramFolderOverride() = folder;
}

void StartOpening(const QString& folder) {
    OpeningStorage() = std::async(std::launch::async, [folder] {
        DbConnection().Open(ConnectionString(folder), QString(), QString(), -1);
    });
}

bool Main() {
    // Deriving the file's key takes about as long as building the log-in window, and neither
    // needs the other: the connection opens on a second core while this thread builds the
    // window. Nothing touches the connection until the opening is taken back here, before the
    // window can show; its failure is reported first, as when the two ran one after the other.
    std::future<void>& opening = OpeningStorage();
    if (!opening.valid())
        StartOpening(ProgramFolder());

    // The routine's own log-in instance; it stays loaded and hidden for the rest of the run.
    static frmLogIn* logIn = nullptr;
    std::exception_ptr building;
    try {
        delete logIn;
        logIn = new frmLogIn();
    } catch (...) {
        building = std::current_exception();
    }
    if (Step([&opening] { opening.get(); }) == Outcome::Ended)
        return false;
    if (Step([&building] {
            if (building)
                std::rethrow_exception(building);
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
