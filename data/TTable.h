#pragma once
#include "TDBDataSet.h"

#include <string>
#include <vector>

// A table file of the alias's database, with its ordering and key searches.
// Declared fields are bound to the file's columns at opening; a table
// without declared fields gets one field per column, in file order.
class TTable : public TDBDataSet {
public:
    explicit TTable(std::string name = {});

    std::string TableName;  // "Datapegawai.db"

    const std::string& IndexFieldNames() const { return indexFieldNames_; }
    // Order by the index whose fields are names (";"-separated), or whose
    // fields begin with them; "" is the primary index. Keeps the current
    // record. "No index for fields '%s'" keeps the previous ordering.
    void SetIndexFieldNames(const std::string& names);

    // Exact search on the leading fields of the current index, one text
    // per field. Found: the record is current, in the middle row. Not
    // found: nothing moves.
    bool FindKey(const std::vector<std::string>& values);
    // The first record whose key is >= the given one (a key that is a
    // leading part of another sorts lower); the last when all are smaller.
    void FindNearest(const std::vector<std::string>& values);

    // What an export of this table's records reads while it is open: the
    // description of its file (path, columns) and the name of the index of
    // the current ordering. Fails as every operation on a closed dataset does.
    const TableDescription& FileDescription() const;
    std::string CurrentIndexName() const;

protected:
    void InternalOpen() override;
    bool IsIndexField(const TField& field) const override;

private:
    void BindColumns(const TableDescription& table);
    void BindLookups();
    const IndexDescription& ChooseIndex(const std::string& names);
    void CheckKeySearch();
    std::vector<FieldValue> BuildKey(const std::vector<std::string>& values);

    std::string indexFieldNames_;
    bool declaredFields_ = false;
};
