#pragma once

class SQLiteDB;

// A transaction that lasts for a scope: the constructor issues "BEGIN", Commit or the destructor
// "END". There is no rollback: leaving the scope without Commit commits as well. The connection
// may be null or closed; the transaction then only keeps its flag. Used under the owner's lock.
class SQLiteAutoTransaction {
public:
    explicit SQLiteAutoTransaction(SQLiteDB* db);
    virtual ~SQLiteAutoTransaction();
    SQLiteAutoTransaction(const SQLiteAutoTransaction&) = delete;
    SQLiteAutoTransaction& operator=(const SQLiteAutoTransaction&) = delete;

    // False with no connection or when already active; with a closed connection the transaction
    // becomes active and the result is false; otherwise whether "BEGIN" succeeded.
    bool Begin();
    // Issues "END" and ends the transaction; false with no connection, a closed one, or when
    // "END" fails.
    bool Commit();
    bool IsActive() const { return active_; }

private:
    SQLiteDB* db_;
    bool active_ = false;
};
