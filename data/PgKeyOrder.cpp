#include "PgKeyOrder.h"

#include "PgConnection.h"

#include <algorithm>

PgKeyOrder::PgKeyOrder(const TableDescription& description, const IndexDescription& index, std::string columns,
                       std::string table, std::string fold)
    : selectList_(std::move(columns)), table_(std::move(table)), fold_(std::move(fold))
{
    auto add = [&](const std::string& field, bool folds) {
        int number = description.fieldNumber(field);
        if (number < 0 || std::find(columns_.begin(), columns_.end(), number) != columns_.end())
            return;
        columns_.push_back(number);
        names_.push_back(PgConnection::quote(description.fields[static_cast<size_t>(number)].name));
        folds_.push_back(folds);
    };
    for (const std::string& field : index.fields)
        add(field, index.caseInsensitive);
    fieldCount_ = static_cast<int>(columns_.size());
    const IndexDescription* primary = nullptr;
    for (const IndexDescription& candidate : description.indexes)
        if (candidate.primary)
            primary = &candidate;
    if (primary && !index.unique && !index.primary)
        for (const std::string& field : primary->fields)
            add(field, primary->caseInsensitive);
    usesRowid_ = !primary;
}

std::string PgKeyOrder::element(int i) const
{
    if (i >= static_cast<int>(names_.size()))
        return "rid";
    return foldsCase(i) ? fold_ + "(" + names_[static_cast<size_t>(i)] + ")" : names_[static_cast<size_t>(i)];
}

std::string PgKeyOrder::indexColumns() const
{
    std::string list;
    for (int i = 0; i < length(); ++i)
        list += (i ? ", " : "") + (foldsCase(i) ? "(" + element(i) + ")" : element(i));
    return list;
}

std::string PgKeyOrder::orderBy() const
{
    std::string list;
    for (int i = 0; i < length(); ++i)
        list += (i ? ", " : "") + element(i);
    return list;
}

std::string PgKeyOrder::sql(Op op, int prefix, int limit) const
{
    bool descending = op == Op::Last || op == Op::Less || op == Op::LessEqual;
    std::string hit, where;
    if (op != Op::First && op != Op::Last) {
        std::string left, right;
        for (int i = 0; i < prefix; ++i) {
            std::string parameter = "$" + std::to_string(i + 1);
            if (i >= static_cast<int>(names_.size()))
                parameter += "::bigint";
            left += (i ? ", " : "") + element(i);
            right += (i ? ", " : "") + (foldsCase(i) ? fold_ + "(" + parameter + "::text)" : parameter);
        }
        // A one-element row is a plain value to the server; both spell the
        // same index condition.
        if (prefix != 1) {
            left = "(" + left + ")";
            right = "(" + right + ")";
        }
        static const char* const operators[] = {"", "", ">", ">=", "<", "<=", ">="};
        where = " WHERE " + left + " " + operators[static_cast<int>(op)] + " " + right;
        if (op == Op::Equal)
            hit = ", " + left + " = " + right;
    }
    std::string text = "SELECT " + selectList_ + hit + " FROM " + table_ + where;
    text += " ORDER BY ";
    for (int i = 0; i < length(); ++i)
        text += (i ? ", " : "") + element(i) + (descending ? " DESC" : "");
    return text + " LIMIT " + std::to_string(limit);
}
