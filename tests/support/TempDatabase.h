#pragma once

#include "platform/db/DbError.h"

#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A fresh installed database (Main.mdb, made by the same code as pelmoran-make-database) in a
// temporary folder that is removed with this object.
class TempDatabase {
public:
    TempDatabase();

    QString Folder() const;
    QString FilePath() const;
    // The connection string the program builds for this folder.
    QString ConnectionString() const;

private:
    QTemporaryDir dir_;
};

// The DbError that `action` raises; a failed expectation (and a zero error) when it raises none.
template <typename Action> DbError CatchDbError(Action&& action) {
    try {
        action();
    } catch (const DbError& error) {
        return error;
    }
    ADD_FAILURE() << "no DbError was raised";
    return DbError(0, QString());
}
