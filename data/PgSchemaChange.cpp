#include "PgSchemaChange.h"

#include "PgTable.h"

#include <regex>

EngineStatus PgSchemaChange::addColumn(const FieldDescription& field)
{
    bool text = field.type != ColumnType::Date;
    std::string value =
        field.hasDefault ? PgConnection::literal(field.defaultValue) : (text ? std::string("''") : "NULL");
    std::string table = connection_.qualified(PgTable::serverName(tableName_));
    const std::string& schema = connection_.schema();
    std::string tableLiteral = PgConnection::literal(tableName_);
    // The same column a new table gets (PgTable::create).
    std::string type = text ? (field.size > 0 ? "varchar(" + std::to_string(field.size) + ")" : std::string("text")) +
                                  " COLLATE \"C\" NOT NULL DEFAULT " + value
                            : "date DEFAULT " + value;
    std::string sql = "ALTER TABLE " + table + " ADD COLUMN " + PgConnection::quote(field.name) + " " + type +
                      "; INSERT INTO " + schema + ".arsipstaf_columns SELECT " + tableLiteral +
                      ", COALESCE(MAX(position) + 1, 0), " + PgConnection::literal(field.name) + ", " +
                      PgConnection::literal(text ? "String" : "Date") + ", " + std::to_string(field.size) + ", " +
                      (field.hasDefault ? value : "NULL") + " FROM " + schema +
                      ".arsipstaf_columns WHERE table_name = " + tableLiteral;
    return execute(sql);
}

EngineStatus PgSchemaChange::execute(const std::string& sql)
{
    std::string text =
        std::regex_replace(sql, std::regex("\\{table\\}"), connection_.qualified(PgTable::serverName(tableName_)));
    text = std::regex_replace(text, std::regex("\\{schema\\}"), connection_.schema());
    EngineStatus status = connection_.runScript(text, "Cannot upgrade the table.");
    if (!status.ok())
        status.stack.push_back("Table: " + tableName_);
    return status;
}
