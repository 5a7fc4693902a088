#pragma once
#include "EngineStatus.h"
#include "FieldValue.h"
#include "PasswordList.h"
#include "PgResult.h"

#include <libpq-fe.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

// The one session of this process with a database server, shared by every
// table and cursor opened through the same address. Record locks are the
// server's session-level advisory locks, so they die with the connection
// (and with the process); locks between cursors of this process are kept
// here, as the server would grant them twice to one session.
class PgConnection {
public:
    // The connection to conninfo (a libpq URI or keyword list), made on first
    // use. When the server asks for a password the address lacks, each of
    // passwords is tried; PasswordRequired when none is accepted.
    static EngineStatus open(const std::string& conninfo, const PasswordList& passwords,
                             std::shared_ptr<PgConnection>& out);
    // A session of its own to the same address, with the password this one
    // was opened with: for work in a transaction of its own while the
    // shared session goes on.
    EngineStatus openAnother(std::shared_ptr<PgConnection>& out) const;

    PgConnection(const PgConnection&) = delete;
    PgConnection& operator=(const PgConnection&) = delete;
    ~PgConnection();

    PGconn* handle() const { return conn_; }
    // While a COPY runs on a thread of its own (PgBulkWriter) the session is
    // that thread's: until it is given back, every statement of another
    // caller is refused (Internal) instead of mixing into the copy's
    // exchange with the server.
    void lendToThread(bool lent) { lent_ = lent; }
    // Makes sure the session is there before a statement. A session the
    // server ended (a restart, a dropped connection) is opened again: the
    // statements are prepared anew, the channels listened to again, the
    // record locks of the old session forgotten (they died with it) and
    // every change count moved on, so nothing read before is kept. IoError
    // when the server cannot be reached now (the next statement tries
    // again), or when the session was lost inside a transaction: that
    // statement fails, nothing of the transaction having been stored.
    EngineStatus ensureOpen();
    // Counts the sessions this connection has had; a record lock taken in
    // an earlier one is gone.
    int session() const { return session_; }
    // Where the connection goes, without any password: for messages.
    const std::string& location() const { return location_; }
    // The schema the tables live in (the first of the search path), quoted.
    const std::string& schema() const { return schema_; }
    std::string qualified(const std::string& name) const { return schema_ + "." + quote(name); }

    // Runs sql (prepared once per connection) with text parameters. A server
    // error becomes a status whose message is what, with the server's text.
    EngineStatus run(const std::string& sql, const std::vector<FieldValue>& parameters, PgResult& out,
                     const std::string& what);
    // Runs one or more statements without parameters.
    EngineStatus runScript(const std::string& sql, const std::string& what);
    // Sends every statement before reading any result: one round trip. Each
    // runs as its own transaction, in order, so a later one sees what an
    // earlier one did and committed (a lock, then a read under it). out gets
    // one result per statement; the status is the first failure, if any.
    struct Statement {
        std::string sql;
        std::vector<FieldValue> parameters;
    };
    EngineStatus runPipelined(const std::vector<Statement>& statements, std::vector<PgResult>& out,
                              const std::string& what);

    // How many change notices came for channel so far; reads what the server
    // has sent without waiting. Fails only when the session was lost and
    // cannot be opened again.
    EngineStatus notices(const std::string& channel, std::uint64_t& out);
    EngineStatus listen(const std::string& channel);

    // Record locks. lock: Ok when owner holds it already or gets it;
    // RecordLocked when another cursor or another session holds it.
    enum class Holder { Nobody, Owner, Other };
    Holder holder(std::int64_t key, const void* owner) const;
    void noteLocked(std::int64_t key, const void* owner) { held_[key] = owner; }
    EngineStatus lock(std::int64_t key, const void* owner);
    void unlock(std::int64_t key, const void* owner);

    static std::string quote(const std::string& name);
    static std::string literal(const std::string& text);
    static EngineStatus lockedFailure();
    // After the server refused a lock: waits a moment and says whether to
    // ask again. A killed client's session ends a few milliseconds after the
    // client, and its locks with it; a clerk must not be told of a lock its
    // holder no longer has.
    static bool askAgainForLock(int& attempt);

private:
    explicit PgConnection(PGconn* conn);
    EngineStatus start();
    EngineStatus reconnect();
    EngineStatus lostConnection(const std::string& what) const;
    // Whether the session is inside a transaction now: a loss there is not
    // mended by reconnecting.
    void noteTransaction();
    EngineStatus exchange(const std::string& sql, const std::vector<FieldValue>& parameters, PgResult& out,
                          const std::string& what);
    EngineStatus sendPipelined(const std::vector<Statement>& statements, std::vector<PgResult>& out,
                               const std::string& what);
    // Whether a failed exchange of queries that store nothing lost the
    // session under it and may be sent again on a new one.
    bool mayAskAgain(const EngineStatus& status, bool reads) const;
    EngineStatus resultFailure(const PGresult* result, const std::string& what) const;
    EngineStatus prepare(const std::string& sql, int parameterCount, const char*& name, const std::string& what);
    EngineStatus collectPipeline(size_t count, std::vector<PgResult>& out, const std::string& what);
    void drainNotices();

    PGconn* conn_ = nullptr;
    int pid_ = 0;  // the process that made it: a forked child never uses it
    int session_ = 1;
    bool inTransaction_ = false;
    bool closing_ = false;  // the server said it ends the session
    std::atomic<bool> lent_{false};
    std::string conninfo_;  // may hold a password: never shown
    std::string location_;
    std::string schema_;
    std::map<std::string, std::string> prepared_;  // sql -> statement name
    std::map<std::string, std::uint64_t> notices_;
    std::map<std::string, bool> listening_;
    std::map<std::int64_t, const void*> held_;
};
