#pragma once

class Connection;

// Holds the database's write lock from the start (BEGIN IMMEDIATE), so that a read and the
// write that depends on it see no other program's change in between. Rolls back in the
// destructor unless committed; the destructor never throws.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void Commit();

private:
    Connection& connection_;
    bool done_ = false;
};
