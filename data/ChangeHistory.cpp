#include "ChangeHistory.h"

#include "SqliteHistory.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <pwd.h>
#include <strings.h>
#include <unistd.h>

namespace {

bool hasValue(const FieldValue& value)
{
    return value.has_value() && !value->empty();
}

const IndexDescription* primaryIndex(const TableDescription& description)
{
    for (const IndexDescription& index : description.indexes)
        if (index.primary)
            return &index;
    return description.indexes.empty() ? nullptr : &description.indexes.front();
}

}  // namespace

bool ChangeHistory::kept(const std::string& tableName)
{
    return strcasecmp(tableName.c_str(), "Datapegawai.db") == 0 || strcasecmp(tableName.c_str(), "Mutasi.db") == 0;
}

std::string ChangeHistory::keyOf(const TableDescription& description, const std::vector<FieldValue>& values)
{
    std::string key;
    const IndexDescription* primary = primaryIndex(description);
    if (!primary)
        return key;
    for (size_t i = 0; i < primary->fields.size(); ++i) {
        int number = description.fieldNumber(primary->fields[i]);
        std::string value = number >= 0 && static_cast<size_t>(number) < values.size()
                                ? values[static_cast<size_t>(number)].value_or(std::string())
                                : std::string();
        key += (i ? "/" : "") + value;
    }
    return key;
}

bool ChangeHistory::isKeyField(const TableDescription& description, size_t field)
{
    const IndexDescription* primary = primaryIndex(description);
    if (!primary)
        return false;
    for (const std::string& name : primary->fields)
        if (description.fieldNumber(name) == static_cast<int>(field))
            return true;
    return false;
}

std::vector<HistoryField> ChangeHistory::changedFields(const TableDescription& description,
                                                       const std::vector<FieldValue>& before,
                                                       const std::vector<FieldValue>& after)
{
    std::vector<HistoryField> fields;
    for (size_t i = 0; i < description.fields.size() && i < before.size() && i < after.size(); ++i)
        if (before[i].value_or(std::string()) != after[i].value_or(std::string()))
            fields.push_back({description.fields[i].name, before[i], after[i]});
    return fields;
}

std::vector<HistoryField> ChangeHistory::wholeRecord(const TableDescription& description,
                                                     const std::vector<FieldValue>& values, bool after)
{
    std::vector<HistoryField> fields;
    for (size_t i = 0; i < description.fields.size() && i < values.size(); ++i) {
        if (!hasValue(values[i]) && !isKeyField(description, i))
            continue;
        HistoryField field{description.fields[i].name, std::nullopt, std::nullopt};
        (after ? field.newValue : field.oldValue) = values[i].value_or(std::string());
        fields.push_back(field);
    }
    return fields;
}

std::vector<HistoryField> ChangeHistory::addedFields(const TableDescription& description,
                                                     const std::vector<FieldValue>& values)
{
    return wholeRecord(description, values, true);
}

std::vector<HistoryField> ChangeHistory::deletedFields(const TableDescription& description,
                                                       const std::vector<FieldValue>& values)
{
    return wholeRecord(description, values, false);
}

const std::string& ChangeHistory::fileAccount()
{
    static const std::string account = [] {
        std::string user;
        if (const passwd* entry = ::getpwuid(::geteuid()))
            user = entry->pw_name;
        else
            user = std::to_string(::geteuid());
        char host[256] = {};
        if (::gethostname(host, sizeof host - 1) != 0)
            host[0] = '\0';
        return user + "@" + host;
    }();
    return account;
}

std::string ChangeHistory::utcNow()
{
    auto now = std::chrono::system_clock::now();
    std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm utc{};
    ::gmtime_r(&seconds, &utc);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + 1900, utc.tm_mon + 1,
                  utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, static_cast<int>(millis));
    return text;
}

SchemaStep ChangeHistory::upgradeStep(int from)
{
    return {.from = from,
            .text = "an empty change history for the employee and transfer tables",
            .apply = [](SchemaChange& change) {
                if (!kept(change.tableName()))
                    return EngineStatus::success();
                return change.execute(change.onServer() ? serverCreateSql("{schema}")
                                                        : std::string(SqliteHistory::createSql()));
            }};
}

std::string ChangeHistory::serverCreateSql(const std::string& schema)
{
    // One row per entry, its fields in three arrays of one length: a post
    // writes one row and two small index entries however many fields it
    // lists. The entry number, time and account are the server's own
    // defaults (the clerks' role has no right to those columns). Entries
    // arrive in time order, so a block range index finds a --since start.
    // The key index compares bytes, not the database's collation.
    std::string history = schema + ".arsipstaf_history";
    std::string sequence = schema + ".arsipstaf_history_entry";
    return "CREATE SEQUENCE IF NOT EXISTS " + sequence + ";CREATE TABLE IF NOT EXISTS " + history +
           " (entry bigint NOT NULL DEFAULT nextval('" + sequence +
           "'), at timestamptz NOT NULL DEFAULT now(), account text NOT NULL DEFAULT current_user, "
           "table_name text COLLATE \"C\" NOT NULL, record_key text COLLATE \"C\" NOT NULL, old_key text, "
           "kind text NOT NULL, "
           "fields text[] NOT NULL, old_values text[] NOT NULL, new_values text[] NOT NULL);"
           "CREATE INDEX IF NOT EXISTS arsipstaf_history_key ON " +
           history + " (table_name, record_key, entry);CREATE INDEX IF NOT EXISTS arsipstaf_history_at ON " + history +
           " USING brin (at);";
}
