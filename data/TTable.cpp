#include "TTable.h"

#include "EDatabaseError.h"
#include "TDateField.h"
#include "TStringField.h"
#include "TextCompare.h"

namespace {

bool startsWithList(const std::string& list, const std::string& names)
{
    if (list.size() < names.size() || !TextCompare::equalNoCase(list.substr(0, names.size()), names))
        return false;
    return list.size() == names.size() || list[names.size()] == ';';
}

const char* typeNameOf(const FieldDescription& column)
{
    switch (column.type) {
    case ColumnType::Text:
        return "String";
    case ColumnType::Date:
        return "Date";
    case ColumnType::Other:
        break;
    }
    return nullptr;
}

}  // namespace

TTable::TTable(std::string name) : TDBDataSet(std::move(name))
{
}

void TTable::InternalOpen()
{
    if (!declaredFields_ && !fields_.empty())
        declaredFields_ = true;
    std::unique_ptr<EngineCursor> cursor;
    Check(Database().openTable(TableName, "", cursor));
    SetCursor(std::move(cursor));
    try {
        BindColumns(Cursor()->description());
        BindLookups();
        if (!indexFieldNames_.empty())
            Check(Cursor()->switchToIndex(ChooseIndex(indexFieldNames_).name, false));
    } catch (...) {
        InternalClose();
        throw;
    }
}

void TTable::BindColumns(const TableDescription& table)
{
    if (!declaredFields_) {
        fields_.clear();
        for (size_t i = 0; i < table.fields.size(); ++i) {
            const FieldDescription& column = table.fields[i];
            std::unique_ptr<TField> field;
            if (column.type == ColumnType::Date)
                field = std::make_unique<TDateField>(column.name);
            else
                field = std::make_unique<TStringField>(column.name, column.size);
            field->Bind(this, static_cast<int>(i));
            fields_.push_back(std::move(field));
        }
        return;
    }
    for (const auto& field : fields_) {
        if (field->IsLookup()) {
            field->Bind(this, -1);
            continue;
        }
        int column = table.fieldNumber(field->FieldName());
        if (column < 0)
            Fail("Field '" + field->Label() + "' not found");
        const char* actual = typeNameOf(table.fields[column]);
        std::string actualName = actual ? actual : table.fields[column].typeName;
        if (actualName != field->TypeName())
            Fail("Type mismatch for field '" + field->Label() + "', expecting: " + field->TypeName() +
                 " actual: " + actualName);
        field->Bind(this, column);
    }
}

void TTable::BindLookups()
{
    for (const auto& field : fields_) {
        if (!field->IsLookup())
            continue;
        if (field->KeyFields.empty() || !field->LookupDataSet || field->LookupKeyFields.empty() ||
            field->LookupResultField.empty())
            throw EDatabaseError("Lookup information for field '" + field->FieldName() + "' is incomplete");
        FieldByName(field->KeyFields);
        TDataSet& lookup = *field->LookupDataSet;
        lookup.Open();
        lookup.FieldByName(field->LookupKeyFields);
        lookup.FieldByName(field->LookupResultField);
    }
}

bool TTable::IsIndexField(const TField& field) const
{
    if (!Cursor())
        return false;
    for (const std::string& name : Cursor()->currentIndex().fields)
        if (TextCompare::equalNoCase(name, field.FieldName()))
            return true;
    return false;
}

const IndexDescription& TTable::ChooseIndex(const std::string& names)
{
    Check(Cursor()->refreshDescription());
    const std::vector<IndexDescription>& indexes = Cursor()->description().indexes;
    if (names.empty()) {
        for (const IndexDescription& index : indexes)
            if (index.primary)
                return index;
    }
    for (const IndexDescription& index : indexes)
        if (!index.descending && !index.expression && TextCompare::equalNoCase(index.fieldList(), names))
            return index;
    for (const IndexDescription& index : indexes)
        if (!index.descending && !index.expression && startsWithList(index.fieldList(), names))
            return index;
    Fail("No index for fields '" + names + "'");
}

void TTable::SetIndexFieldNames(const std::string& names)
{
    if (!Active()) {
        indexFieldNames_ = names;
        return;
    }
    CheckBrowseMode();
    if (names == indexFieldNames_)
        return;
    const IndexDescription& index = ChooseIndex(names);
    bool hasRecord = WindowRecordCount() > 0;
    if (hasRecord)
        SyncCursor();
    Check(Cursor()->switchToIndex(index.name, hasRecord));
    indexFieldNames_ = names;
    Resync(ResyncMode::KeepRow);
}

void TTable::CheckKeySearch()
{
    CheckBrowseMode();
    const IndexDescription& index = Cursor()->currentIndex();
    if (index.expression)
        Fail("Cannot use array of Field values with Expression Indices");
    if (index.fields.empty())
        Fail("No index currently active");
}

// Fills the key buffer in key state, each text converted as its field
// converts it, and returns the key values in index order.
std::vector<FieldValue> TTable::BuildKey(const std::vector<std::string>& values)
{
    const IndexDescription& index = Cursor()->currentIndex();
    RecordBuffer key;
    Check(Cursor()->initRecord(key.record));
    size_t count = std::min(values.size(), index.fields.size());
    {
        TemporaryState keyState(*this, TDataSetState::dsSetKey);
        keyBuffer_ = &key;
        try {
            for (size_t i = 0; i < count; ++i)
                FieldByName(index.fields[i])->SetText(values[i]);
        } catch (...) {
            keyBuffer_ = nullptr;
            throw;
        }
        keyBuffer_ = nullptr;
    }
    std::vector<FieldValue> result;
    for (size_t i = 0; i < count; ++i)
        result.push_back(key.record.values[FieldByName(index.fields[i])->FieldNo()]);
    return result;
}

bool TTable::FindKey(const std::vector<std::string>& values)
{
    CheckKeySearch();
    std::vector<FieldValue> key = BuildKey(values);
    EngineStatus status = Cursor()->findKey(key, static_cast<int>(key.size()));
    if (status.code == EngineCode::RecordNotFound)
        return false;
    Check(status);
    Resync(ResyncMode::Center, true);
    return true;
}

void TTable::FindNearest(const std::vector<std::string>& values)
{
    CheckKeySearch();
    std::vector<FieldValue> key = BuildKey(values);
    Check(Cursor()->setToKey(key, static_cast<int>(key.size()), false));
    Resync(ResyncMode::Center);
}

const TableDescription& TTable::FileDescription() const
{
    if (!Cursor())
        Fail("Cannot perform this operation on a closed dataset");
    return Cursor()->description();
}

std::string TTable::CurrentIndexName() const
{
    if (!Cursor())
        Fail("Cannot perform this operation on a closed dataset");
    return Cursor()->currentIndex().name;
}
