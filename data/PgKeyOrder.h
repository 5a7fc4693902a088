#pragma once
#include "TableDescription.h"

#include <string>
#include <vector>

// The order a cursor follows on a server table, as a key tuple: the index's
// fields, then the primary-key fields the index lacks (so equal keys follow
// in primary-key order), then rid in a table without a primary key. Folded
// fields are compared through the schema's fold function, the expression
// the index is built on, so every query below is one index range scan.
class PgKeyOrder {
public:
    enum class Op { First, Last, Greater, GreaterEqual, Less, LessEqual, Equal };

    // columns is the select list ("rid, <columns>"), table the qualified
    // table name, fold the qualified name of the fold function.
    PgKeyOrder(const TableDescription& description, const IndexDescription& index, std::string columns,
               std::string table, std::string fold);

    int length() const { return static_cast<int>(columns_.size()) + (usesRowid_ ? 1 : 0); }
    const std::vector<int>& columns() const { return columns_; }
    int fieldCount() const { return fieldCount_; }
    bool foldsCase(int i) const { return i < static_cast<int>(folds_.size()) && folds_[i]; }

    // The query for op over the first prefix tuple elements ($1.. in order),
    // reading at most limit records. Equal reads from the first tuple not
    // below the key on, with one more column saying whether that first
    // record's key is equal: what follows a found record comes in the same
    // round trip.
    std::string sql(Op op, int prefix, int limit) const;
    // The key columns of the server index this order needs, as in CREATE INDEX.
    std::string indexColumns() const;
    // The ORDER BY clause of this order, forwards.
    std::string orderBy() const;
    std::string element(int i) const;

private:
    std::string selectList_;
    std::string table_;
    std::string fold_;
    std::vector<std::string> names_;
    std::vector<int> columns_;
    std::vector<bool> folds_;
    bool usesRowid_ = false;
    int fieldCount_ = 0;
};
