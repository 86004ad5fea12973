#include "platform/db/Transaction.h"

#include "platform/db/Connection.h"

Transaction::Transaction(Connection& connection)
    : connection_(connection) {
    connection_.Run("BEGIN IMMEDIATE");
}

Transaction::~Transaction() {
    if (!done_)
        connection_.RunQuietly("ROLLBACK");
}

void Transaction::Commit() {
    connection_.Run("COMMIT");
    done_ = true;
}
