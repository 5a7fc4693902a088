#pragma once
#include "EngineRecord.h"
#include "IndexDescription.h"
#include "SqliteStatement.h"
#include "TableDescription.h"

#include <memory>
#include <string>
#include <vector>

// The order of one index as SQL: the key tuple a cursor position is made of
// and the statements that move along it.
//
// The tuple is the index's columns, then the primary-key columns the index
// lacks (so duplicates follow in primary-key order and every tuple is
// unique), then the rowid when the table has no primary key. Each statement
// is a row-value comparison against a leading part of that tuple, ordered by
// the tuple, LIMIT 1: one seek in the SQLite index that has exactly these
// columns. Statements are prepared at first use and kept.
class SqliteKeyOrder {
public:
    enum class Op { First, Last, Greater, GreaterEqual, Less, LessEqual, Equal };

    // Contract: index is an ascending, non-expression index of description
    // whose fields are all columns of it (see check()).
    SqliteKeyOrder(sqlite3* db, const TableDescription& description, const IndexDescription& index);

    // Why index cannot be followed by a cursor, or empty when it can.
    static std::string check(const TableDescription& description, const IndexDescription& index);

    // Elements of the tuple; the last one is the rowid when usesRowid().
    int length() const { return static_cast<int>(columns_.size()) + (usesRowid_ ? 1 : 0); }
    // Record column numbers of the tuple elements before the rowid.
    const std::vector<int>& columns() const { return columns_; }
    bool usesRowid() const { return usesRowid_; }
    // How many leading elements are the index's own fields.
    int fieldCount() const { return fieldCount_; }
    // Whether tuple element i compares without letter case.
    bool foldsCase(int i) const { return i < static_cast<int>(folds_.size()) && folds_[i]; }

    // The statement for op over the first prefix elements (ignored for First
    // and Last). Result columns: rowid, then every column in file order.
    // Null with rc set when it cannot be prepared.
    SqliteStatement* statement(Op op, int prefix, int& rc);
    // The same with LIMIT ? in place of LIMIT 1: a run of records in one
    // statement. The limit is the parameter after the prefix elements.
    SqliteStatement* runStatement(Op op, int prefix, int& rc);
    std::string sql(Op op, int prefix, bool run = false) const;
    // Every record in this order, no limit (exports, scans): the select, then from and where
    // as given (each empty or starting with a blank), then the ordering.
    std::string scanSql(const std::string& from, const std::string& where) const;
    // Where a record stands against another in this order: <0, 0 or >0.
    int compare(const EngineRecord& a, const EngineRecord& b) const;

private:
    std::string element(int i) const;
    std::string orderBy(bool descending) const;
    SqliteStatement* cached(std::vector<std::unique_ptr<SqliteStatement>>& slots, Op op, int prefix, bool run, int& rc);

    sqlite3* db_;
    std::string select_;
    std::vector<std::string> names_;  // quoted column names of the tuple
    std::vector<int> columns_;
    std::vector<bool> folds_;
    bool usesRowid_ = false;
    int fieldCount_ = 0;
    std::vector<std::unique_ptr<SqliteStatement>> statements_;  // [op * (length + 1) + prefix]
    std::vector<std::unique_ptr<SqliteStatement>> runs_;        // the same for runs
};
