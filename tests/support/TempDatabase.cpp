#include "support/TempDatabase.h"

#include "app/InstalledDatabase.h"
#include "app/Statements.h"

#include <stdexcept>

TempDatabase::TempDatabase() {
    if (!dir_.isValid())
        throw std::runtime_error("cannot make a temporary folder");
    InstalledDatabase::Create(FilePath());
}

QString TempDatabase::Folder() const {
    return dir_.path();
}

QString TempDatabase::FilePath() const {
    return dir_.filePath(QStringLiteral("Main.mdb"));
}

QString TempDatabase::ConnectionString() const {
    return ::ConnectionString(Folder());
}
