#include "PgConnection.h"

#include "SqlIdentifier.h"

#include <chrono>
#include <cstring>
#include <thread>
#include <unistd.h>

namespace {

PGconn* attempt(const std::string& conninfo, const std::string* password)
{
    std::vector<const char*> keys = {"dbname", "client_encoding", "fallback_application_name"};
    std::vector<const char*> values = {conninfo.c_str(), "UTF8", "arsipstaf"};
    if (password) {
        keys.push_back("password");
        values.push_back(password->c_str());
    }
    keys.push_back(nullptr);
    values.push_back(nullptr);
    return PQconnectdbParams(keys.data(), values.data(), 1);
}

// libpq's message, one line per entry, without the trailing newline.
std::vector<std::string> serverLines(const char* text)
{
    std::vector<std::string> lines;
    std::string line;
    for (const char* c = text ? text : ""; *c; ++c) {
        if (*c == '\n') {
            if (!line.empty())
                lines.push_back(line);
            line.clear();
        } else {
            line += *c;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

std::string describeLocation(PGconn* conn)
{
    std::string host = PQhost(conn) ? PQhost(conn) : "";
    if (host.find(':') != std::string::npos)
        host = "[" + host + "]";
    return std::string("postgresql://") + PQuser(conn) + "@" + host + ":" + PQport(conn) + "/" + PQdb(conn);
}

EngineCode codeOf(const char* state)
{
    std::string sqlState = state ? state : "";
    if (sqlState == "23505")
        return EngineCode::KeyViolation;
    if (sqlState == "42P01" || sqlState == "3F000")
        return EngineCode::TableMissing;
    if (sqlState == "42501")
        return EngineCode::ReadOnlyTable;
    if (sqlState == "25006")
        return EngineCode::ReadOnlyTable;
    if (sqlState.rfind("08", 0) == 0 || sqlState.rfind("57", 0) == 0 || sqlState.rfind("53", 0) == 0)
        return EngineCode::IoError;
    return EngineCode::Internal;
}

}  // namespace

EngineStatus PgConnection::open(const std::string& conninfo, const PasswordList& passwords,
                                std::shared_ptr<PgConnection>& out)
{
    // Process-wide: one session per address keeps the locks of all cursors
    // of this process in one place and the server's connection count low.
    static std::map<std::string, std::weak_ptr<PgConnection>> open;
    if (std::shared_ptr<PgConnection> existing = open[conninfo].lock()) {
        if (existing->pid_ == ::getpid() && existing->ensureOpen().ok()) {
            out = existing;
            return EngineStatus::success();
        }
    }
    PGconn* conn = attempt(conninfo, nullptr);
    bool wantsPassword = PQstatus(conn) != CONNECTION_OK && PQconnectionNeedsPassword(conn);
    for (size_t i = 0; wantsPassword && i < passwords.entries().size(); ++i) {
        PGconn* retry = attempt(conninfo, &passwords.entries()[i]);
        if (PQstatus(retry) == CONNECTION_OK) {
            PQfinish(conn);
            conn = retry;
            wantsPassword = false;
        } else {
            PQfinish(retry);
        }
    }
    if (wantsPassword) {
        PQfinish(conn);
        return EngineStatus::failure(
            EngineCode::PasswordRequired, "The database server asks for a password.",
            {passwords.empty() ? "No password was given." : "No password given was accepted."});
    }
    if (PQstatus(conn) != CONNECTION_OK) {
        std::vector<std::string> stack = serverLines(PQerrorMessage(conn));
        PQfinish(conn);
        return EngineStatus::failure(EngineCode::IoError, "Cannot connect to the database server.", stack);
    }
    std::shared_ptr<PgConnection> connection(new PgConnection(conn));
    connection->conninfo_ = conninfo;
    EngineStatus status = connection->start();
    if (!status.ok())
        return status;
    open[conninfo] = connection;
    out = std::move(connection);
    return EngineStatus::success();
}

EngineStatus PgConnection::openAnother(std::shared_ptr<PgConnection>& out) const
{
    const char* used = PQconnectionUsedPassword(conn_) ? PQpass(conn_) : nullptr;
    std::string password = used ? used : "";
    PGconn* conn = attempt(conninfo_, used ? &password : nullptr);
    if (PQstatus(conn) != CONNECTION_OK) {
        std::vector<std::string> stack = serverLines(PQerrorMessage(conn));
        PQfinish(conn);
        return EngineStatus::failure(EngineCode::IoError, "Cannot connect to the database server.", stack);
    }
    std::shared_ptr<PgConnection> connection(new PgConnection(conn));
    connection->conninfo_ = conninfo_;
    EngineStatus status = connection->start();
    if (status.ok())
        out = std::move(connection);
    return status;
}

PgConnection::PgConnection(PGconn* conn) : conn_(conn), pid_(::getpid())
{
}

PgConnection::~PgConnection()
{
    // A forked child shares the parent's socket: ending the session from
    // there would end the parent's.
    if (pid_ == ::getpid())
        PQfinish(conn_);
}

EngineStatus PgConnection::ensureOpen()
{
    if (pid_ != ::getpid())
        return EngineStatus::success();
    if (lent_)
        return EngineStatus::failure(EngineCode::Internal, "The connection to the database server is busy.",
                                     {"A bulk copy is running on it.", "Server: " + location_});
    if (PQstatus(conn_) == CONNECTION_OK) {
        // A session the server ended says so on the socket before anything
        // is sent: its last message, then the end of the stream, which a
        // second read sees. A restart is noticed here, not by a failed
        // statement.
        drainNotices();
        if (PQstatus(conn_) == CONNECTION_OK && !closing_)
            PQconsumeInput(conn_);
        if (PQstatus(conn_) == CONNECTION_OK && !closing_)
            return EngineStatus::success();
    }
    if (inTransaction_) {
        // The statements after the loss must not run outside the
        // transaction they belong to: this one fails, the next reconnects.
        inTransaction_ = false;
        return EngineStatus::failure(EngineCode::IoError, "The connection to the database server was lost.",
                                     {"Nothing of the unfinished transaction was stored."});
    }
    return reconnect();
}

// A new session with the options of the old one (its password among them).
EngineStatus PgConnection::reconnect()
{
    std::vector<std::string> keys, values;
    PQconninfoOption* options = PQconninfo(conn_);
    for (PQconninfoOption* option = options; option && option->keyword; ++option)
        if (option->val) {
            keys.emplace_back(option->keyword);
            values.emplace_back(option->val);
        }
    PQconninfoFree(options);
    std::vector<const char*> keyTexts, valueTexts;
    for (size_t i = 0; i < keys.size(); ++i) {
        keyTexts.push_back(keys[i].c_str());
        valueTexts.push_back(values[i].c_str());
    }
    keyTexts.push_back(nullptr);
    valueTexts.push_back(nullptr);
    PGconn* conn = PQconnectdbParams(keyTexts.data(), valueTexts.data(), 0);
    if (PQstatus(conn) != CONNECTION_OK) {
        std::vector<std::string> stack = serverLines(PQerrorMessage(conn));
        PQfinish(conn);
        return EngineStatus::failure(EngineCode::IoError, "Cannot connect to the database server.", stack);
    }
    PQfinish(conn_);
    conn_ = conn;
    ++session_;
    prepared_.clear();
    held_.clear();  // the server let go of them with the old session
    EngineStatus status = start();
    std::vector<std::string> channels;
    for (const auto& [channel, on] : listening_)
        if (on)
            channels.push_back(channel);
    listening_.clear();
    for (size_t i = 0; i < channels.size() && status.ok(); ++i)
        status = listen(channels[i]);
    // Changes made while no one listened are unknown: everything kept goes.
    for (auto& [channel, count] : notices_)
        ++count;
    return status;
}

void PgConnection::noteTransaction()
{
    if (PQstatus(conn_) == CONNECTION_OK)
        inTransaction_ = PQtransactionStatus(conn_) != PQTRANS_IDLE;
}

EngineStatus PgConnection::start()
{
    location_ = describeLocation(conn_);
    // The server's notices ("already exists, skipping") are no business of
    // the clerk's or the admin's output. One that ends the session (a
    // restart's "terminating connection") comes this way while idle.
    closing_ = false;
    PQsetNoticeReceiver(
        conn_,
        [](void* self, const PGresult* notice) {
            const char* severity = PQresultErrorField(notice, PG_DIAG_SEVERITY_NONLOCALIZED);
            if (severity && (std::strcmp(severity, "FATAL") == 0 || std::strcmp(severity, "PANIC") == 0))
                static_cast<PgConnection*>(self)->closing_ = true;
        },
        this);
    PgResult result(PQexec(conn_, "SET DateStyle = 'ISO, YMD'; SELECT quote_ident(current_schema())"));
    if (PQresultStatus(result.get()) != PGRES_TUPLES_OK)
        return resultFailure(result.get(), "Cannot prepare the database session.");
    if (result.rows() != 1 || result.isNull(0, 0))
        return EngineStatus::failure(EngineCode::TableMissing, "The database has no schema for the tables.",
                                     {"Database: " + location_});
    schema_ = result.text(0, 0);
    return EngineStatus::success();
}

std::string PgConnection::quote(const std::string& name)
{
    return quotedIdentifier(name);
}

std::string PgConnection::literal(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'')
            quoted += '\'';
        quoted += c;
    }
    return quoted + "'";
}

EngineStatus PgConnection::resultFailure(const PGresult* result, const std::string& what) const
{
    const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    EngineCode code = result ? codeOf(state) : EngineCode::IoError;
    std::vector<std::string> stack;
    if (code == EngineCode::KeyViolation)
        stack.push_back("A record with the same key already exists.");
    for (const std::string& line : serverLines(result ? PQresultErrorMessage(result) : PQerrorMessage(conn_)))
        stack.push_back(line);
    if (PQstatus(conn_) != CONNECTION_OK) {
        code = EngineCode::IoError;
        stack.push_back("The connection to the database server was lost.");
    }
    return EngineStatus::failure(code, code == EngineCode::KeyViolation ? "Key violation." : what, stack);
}

EngineStatus PgConnection::prepare(const std::string& sql, int parameterCount, const char*& name,
                                   const std::string& what)
{
    auto found = prepared_.find(sql);
    if (found == prepared_.end()) {
        std::string statement = "s" + std::to_string(prepared_.size() + 1);
        PgResult prepared(PQprepare(conn_, statement.c_str(), sql.c_str(), parameterCount, nullptr));
        if (PQresultStatus(prepared.get()) != PGRES_COMMAND_OK)
            return resultFailure(prepared.get(), what);
        found = prepared_.emplace(sql, statement).first;
    }
    name = found->second.c_str();
    return EngineStatus::success();
}

namespace {

std::vector<const char*> parameterTexts(const std::vector<FieldValue>& parameters)
{
    std::vector<const char*> values;
    values.reserve(parameters.size());
    for (const FieldValue& parameter : parameters)
        values.push_back(parameter ? parameter->c_str() : nullptr);
    return values;
}

bool succeeded(const PgResult& result)
{
    ExecStatusType status = PQresultStatus(result.get());
    return status == PGRES_TUPLES_OK || status == PGRES_COMMAND_OK;
}

// A query that stores nothing may be asked again on a new session.
bool readsOnly(const std::string& sql)
{
    return sql.rfind("SELECT ", 0) == 0;
}

}  // namespace

bool PgConnection::mayAskAgain(const EngineStatus& status, bool reads) const
{
    return !status.ok() && reads && pid_ == ::getpid() && PQstatus(conn_) != CONNECTION_OK && !inTransaction_;
}

EngineStatus PgConnection::run(const std::string& sql, const std::vector<FieldValue>& parameters, PgResult& out,
                               const std::string& what)
{
    EngineStatus status = exchange(sql, parameters, out, what);
    // The session went under the query: once more on a new one.
    if (mayAskAgain(status, readsOnly(sql)))
        status = exchange(sql, parameters, out, what);
    return status;
}

EngineStatus PgConnection::exchange(const std::string& sql, const std::vector<FieldValue>& parameters, PgResult& out,
                                    const std::string& what)
{
    EngineStatus status = ensureOpen();
    if (!status.ok())
        return status;
    const char* name = nullptr;
    status = prepare(sql, static_cast<int>(parameters.size()), name, what);
    if (!status.ok())
        return status;
    std::vector<const char*> values = parameterTexts(parameters);
    out = PgResult(PQexecPrepared(conn_, name, static_cast<int>(values.size()), values.data(), nullptr, nullptr, 0));
    noteTransaction();
    if (!succeeded(out))
        return resultFailure(out.get(), what);
    return EngineStatus::success();
}

EngineStatus PgConnection::runPipelined(const std::vector<Statement>& statements, std::vector<PgResult>& out,
                                        const std::string& what)
{
    EngineStatus status = sendPipelined(statements, out, what);
    bool reads = true;
    for (const Statement& statement : statements)
        reads = reads && readsOnly(statement.sql);
    if (mayAskAgain(status, reads))
        status = sendPipelined(statements, out, what);
    return status;
}

EngineStatus PgConnection::sendPipelined(const std::vector<Statement>& statements, std::vector<PgResult>& out,
                                         const std::string& what)
{
    out.clear();
    EngineStatus opened = ensureOpen();
    if (!opened.ok())
        return opened;
    std::vector<const char*> names;
    for (const Statement& statement : statements) {
        const char* name = nullptr;
        EngineStatus status = prepare(statement.sql, static_cast<int>(statement.parameters.size()), name, what);
        if (!status.ok())
            return status;
        names.push_back(name);
    }
    if (!PQenterPipelineMode(conn_))
        return resultFailure(nullptr, what);
    bool sent = true;
    for (size_t i = 0; i < statements.size() && sent; ++i) {
        std::vector<const char*> values = parameterTexts(statements[i].parameters);
        // A sync after each: its own transaction, and an error in one does
        // not abort the next.
        sent =
            PQsendQueryPrepared(conn_, names[i], static_cast<int>(values.size()), values.data(), nullptr, nullptr, 0) &&
            PQpipelineSync(conn_);
    }
    EngineStatus status = collectPipeline(statements.size(), out, what);
    // Leaving needs every result read; after a failure some may still come.
    for (int left = 16; !PQexitPipelineMode(conn_) && left > 0; --left)
        PgResult(PQgetResult(conn_));
    noteTransaction();
    if (!sent && status.ok())
        return resultFailure(nullptr, what);
    if (!status.ok())
        return status;
    for (const PgResult& result : out)
        if (!succeeded(result))
            return resultFailure(result.get(), what);
    return EngineStatus::success();
}

// Reads the results of count statements, each followed by a sync point.
EngineStatus PgConnection::collectPipeline(size_t count, std::vector<PgResult>& out, const std::string& what)
{
    size_t syncs = 0;
    int idle = 0;
    while (syncs < count) {
        PgResult result(PQgetResult(conn_));
        if (!result.get()) {
            // The end of one statement's results; twice in a row means
            // nothing more will come (a lost connection).
            if (++idle > 1 || PQstatus(conn_) != CONNECTION_OK)
                break;
            continue;
        }
        idle = 0;
        if (PQresultStatus(result.get()) == PGRES_PIPELINE_SYNC)
            ++syncs;
        else
            out.push_back(std::move(result));
    }
    if (syncs < count || out.size() != count)
        return resultFailure(nullptr, what);
    return EngineStatus::success();
}

EngineStatus PgConnection::runScript(const std::string& sql, const std::string& what)
{
    EngineStatus status = ensureOpen();
    if (!status.ok())
        return status;
    PgResult result(PQexec(conn_, sql.c_str()));
    noteTransaction();
    if (!succeeded(result))
        return resultFailure(result.get(), what);
    return EngineStatus::success();
}

void PgConnection::drainNotices()
{
    PQconsumeInput(conn_);
    while (PGnotify* notice = PQnotifies(conn_)) {
        ++notices_[notice->relname];
        PQfreemem(notice);
    }
}

EngineStatus PgConnection::notices(const std::string& channel, std::uint64_t& out)
{
    EngineStatus status = ensureOpen();
    out = notices_[channel];
    return status;
}

EngineStatus PgConnection::listen(const std::string& channel)
{
    if (listening_[channel])
        return EngineStatus::success();
    EngineStatus status = runScript("LISTEN " + quote(channel), "Cannot follow the table's changes.");
    if (status.ok())
        listening_[channel] = true;
    return status;
}

PgConnection::Holder PgConnection::holder(std::int64_t key, const void* owner) const
{
    auto held = held_.find(key);
    if (held == held_.end())
        return Holder::Nobody;
    return held->second == owner ? Holder::Owner : Holder::Other;
}

EngineStatus PgConnection::lockedFailure()
{
    return EngineStatus::failure(EngineCode::RecordLocked, "Record locked by another user.");
}

bool PgConnection::askAgainForLock(int& attempt)
{
    static constexpr int waits[] = {2, 5, 10, 20, 40};  // milliseconds, about 80 in all
    if (attempt >= static_cast<int>(std::size(waits)))
        return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(waits[attempt++]));
    return true;
}

EngineStatus PgConnection::lock(std::int64_t key, const void* owner)
{
    switch (holder(key, owner)) {
    case Holder::Owner:
        return EngineStatus::success();
    case Holder::Other:
        return EngineStatus::failure(EngineCode::RecordLocked, "Record locked by another user.",
                                     {"Locked by another cursor of this program."});
    case Holder::Nobody:
        break;
    }
    PgResult result;
    for (int attempt = 0;;) {
        EngineStatus status =
            run("SELECT pg_try_advisory_lock($1::bigint)", {std::to_string(key)}, result, "Cannot lock the record.");
        if (!status.ok())
            return status;
        if (result.rows() == 1 && result.text(0, 0) == "t")
            break;
        if (!askAgainForLock(attempt))
            return lockedFailure();
    }
    held_[key] = owner;
    return EngineStatus::success();
}

void PgConnection::unlock(std::int64_t key, const void* owner)
{
    if (holder(key, owner) != Holder::Owner)
        return;
    held_.erase(key);
    PgResult result;
    (void)run("SELECT pg_advisory_unlock($1::bigint)", {std::to_string(key)}, result, "Cannot unlock the record.");
}
