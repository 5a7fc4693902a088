#include "SqliteKeyOrder.h"

#include "SqliteTableFile.h"

#include <algorithm>
#include <cstring>

namespace {

const IndexDescription* primaryIndex(const TableDescription& description)
{
    for (const IndexDescription& index : description.indexes)
        if (index.primary)
            return &index;
    return nullptr;
}

}  // namespace

std::string SqliteKeyOrder::check(const TableDescription& description, const IndexDescription& index)
{
    if (index.expression)
        return "Expression index '" + index.name + "' cannot be followed.";
    if (index.descending)
        return "Descending index '" + index.name + "' cannot be followed.";
    for (const std::string& field : index.fields) {
        int number = description.fieldNumber(field);
        if (number < 0)
            return "Index '" + index.name + "' names the missing column '" + field + "'.";
        if (description.fields[number].type != ColumnType::Text)
            return "Index '" + index.name + "' is on the non-text column '" + field + "'.";
    }
    return std::string();
}

SqliteKeyOrder::SqliteKeyOrder(sqlite3* db, const TableDescription& description, const IndexDescription& index)
    : db_(db), select_("SELECT " + SqliteTableFile::columnList(description) + " FROM records")
{
    auto add = [&](const std::string& field, bool folds) {
        int number = description.fieldNumber(field);
        if (std::find(columns_.begin(), columns_.end(), number) != columns_.end())
            return;
        columns_.push_back(number);
        names_.push_back(SqliteTableFile::quote(description.fields[number].name));
        folds_.push_back(folds);
    };
    for (const std::string& field : index.fields)
        add(field, index.caseInsensitive);
    fieldCount_ = static_cast<int>(columns_.size());
    const IndexDescription* primary = primaryIndex(description);
    if (primary && !index.unique && !index.primary)
        for (const std::string& field : primary->fields)
            add(field, primary->caseInsensitive);
    usesRowid_ = !primary;
    statements_.resize(static_cast<size_t>(7 * (length() + 1)));
    runs_.resize(statements_.size());
}

std::string SqliteKeyOrder::element(int i) const
{
    return i < static_cast<int>(names_.size()) ? names_[i] : std::string("rid");
}

std::string SqliteKeyOrder::sql(Op op, int prefix, bool run) const
{
    bool descending = op == Op::Last || op == Op::Less || op == Op::LessEqual;
    std::string text = select_;
    if (op != Op::First && op != Op::Last) {
        // The collation goes on the value side: SQLite only uses an index
        // for a row-value comparison whose column side is bare.
        std::string left, right;
        for (int i = 0; i < prefix; ++i) {
            left += (i ? "," : "") + element(i);
            right += std::string(i ? "," : "") + "?" + (foldsCase(i) ? " COLLATE NOCASE" : "");
        }
        static const char* const operators[] = {"", "", ">", ">=", "<", "<=", "="};
        text += " WHERE (" + left + ") " + operators[static_cast<int>(op)] + " (" + right + ")";
    }
    return text + orderBy(descending) + (run ? " LIMIT ?" : " LIMIT 1");
}

std::string SqliteKeyOrder::orderBy(bool descending) const
{
    std::string text = " ORDER BY ";
    for (int i = 0; i < length(); ++i) {
        text += (i ? ", " : "") + element(i);
        if (foldsCase(i))
            text += " COLLATE NOCASE";
        if (descending)
            text += " DESC";
    }
    return text;
}

std::string SqliteKeyOrder::scanSql(const std::string& from, const std::string& where) const
{
    return select_ + from + where + orderBy(false);
}

int SqliteKeyOrder::compare(const EngineRecord& a, const EngineRecord& b) const
{
    for (size_t i = 0; i < columns_.size(); ++i) {
        size_t column = static_cast<size_t>(columns_[i]);
        const std::string x = a.values[column].value_or(std::string());
        const std::string y = b.values[column].value_or(std::string());
        size_t common = std::min(x.size(), y.size());
        // As SQLite's NOCASE and BINARY collations: the common length, then the longer is greater.
        int order = folds_[i] ? sqlite3_strnicmp(x.data(), y.data(), static_cast<int>(common))
                              : std::memcmp(x.data(), y.data(), common);
        if (order == 0)
            order = x.size() < y.size() ? -1 : (x.size() > y.size() ? 1 : 0);
        if (order != 0)
            return order;
    }
    if (!usesRowid_ || a.bookmark == b.bookmark)
        return 0;
    return a.bookmark < b.bookmark ? -1 : 1;
}

SqliteStatement* SqliteKeyOrder::statement(Op op, int prefix, int& rc)
{
    return cached(statements_, op, prefix, false, rc);
}

SqliteStatement* SqliteKeyOrder::runStatement(Op op, int prefix, int& rc)
{
    return cached(runs_, op, prefix, true, rc);
}

SqliteStatement* SqliteKeyOrder::cached(std::vector<std::unique_ptr<SqliteStatement>>& slots, Op op, int prefix,
                                        bool run, int& rc)
{
    if (op == Op::First || op == Op::Last)
        prefix = 0;
    std::unique_ptr<SqliteStatement>& slot = slots[static_cast<size_t>(static_cast<int>(op) * (length() + 1) + prefix)];
    rc = SQLITE_OK;
    if (!slot) {
        auto statement = std::make_unique<SqliteStatement>();
        rc = statement->prepare(db_, sql(op, prefix, run));
        if (rc != SQLITE_OK)
            return nullptr;
        slot = std::move(statement);
    }
    return slot.get();
}
