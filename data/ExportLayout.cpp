#include "ExportLayout.h"

#include "TField.h"
#include "TTable.h"

#include <algorithm>
#include <strings.h>

namespace {

ExportColumn fromFile(const FieldDescription& field, int number)
{
    ExportColumn column;
    column.name = field.name;
    column.type = field.type == ColumnType::Date ? ColumnType::Date : ColumnType::Text;
    column.column = number;
    return column;
}

bool fromField(const TField& field, const TableDescription& file, ExportColumn& column, std::string& error)
{
    column.name = field.FieldName();
    column.editMask = field.EditMask;
    if (!field.IsLookup()) {
        column.column = file.fieldNumber(field.FieldName());
        if (column.column < 0) {
            error = "Field '" + field.FieldName() + "' not found";
            return false;
        }
        column.type = file.fields[static_cast<size_t>(column.column)].type == ColumnType::Date ? ColumnType::Date
                                                                                               : ColumnType::Text;
        return true;
    }
    const auto* codes = dynamic_cast<const TTable*>(field.LookupDataSet);
    column.column = file.fieldNumber(field.KeyFields);
    if (!codes || column.column < 0) {
        error = "Lookup information for field '" + field.FieldName() + "' is incomplete";
        return false;
    }
    column.lookupTable = codes->TableName;
    column.lookupKey = field.LookupKeyFields;
    column.lookupResult = field.LookupResultField;
    column.size = field.Size();
    return true;
}

}  // namespace

bool ExportLayout::forTable(const TTable& table, const TableDescription& file, const std::vector<std::string>& names,
                            std::vector<ExportColumn>& out, std::string& error)
{
    out.clear();
    const auto& fields = table.Fields();
    // A closed table without declared fields has no fields yet: its
    // columns are its fields.
    if (fields.empty()) {
        for (size_t i = 0; i < file.fields.size(); ++i)
            if (names.empty() || std::find_if(names.begin(), names.end(), [&](const std::string& name) {
                                     return strcasecmp(name.c_str(), file.fields[i].name.c_str()) == 0;
                                 }) != names.end())
                out.push_back(fromFile(file.fields[i], static_cast<int>(i)));
        return true;
    }
    if (names.empty()) {
        for (const auto& field : fields) {
            out.emplace_back();
            if (!fromField(*field, file, out.back(), error))
                return false;
        }
        return true;
    }
    for (const std::string& name : names) {
        const TField* field = table.FindField(name);
        if (!field) {
            error = "Field '" + name + "' not found";
            return false;
        }
        out.emplace_back();
        if (!fromField(*field, file, out.back(), error))
            return false;
    }
    return true;
}
