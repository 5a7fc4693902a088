#include "ImportRowCheck.h"

#include "DateText.h"
#include "EDBEngineError.h"
#include "StorableText.h"
#include "TField.h"
#include "TTable.h"
#include "UnicodeText.h"

#include <map>
#include <memory>

namespace {

size_t characters(const std::string& text)
{
    size_t count = 0;
    for (char c : text)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

}  // namespace

bool ImportRowCheck::prepare(const TTable& table, const TableDescription& file,
                             const std::vector<ExportColumn>& columns, EngineSnapshot& snapshot, std::string& error)
{
    settings_ = RegionalSettings::current();
    currentYear_ = CalendarDate::today().year;
    // Codes a key column must hold, by the column's record number.
    std::map<int, std::pair<const CodeTexts::Map*, std::string>> codeRules;
    for (const ExportColumn& column : columns) {
        if (!column.isLookup() || codeRules.count(column.column))
            continue;
        auto codes = std::make_unique<CodeTexts::Map>();
        EngineStatus status =
            CodeTexts::read(snapshot, column.lookupTable, column.lookupKey, column.lookupResult, 0, *codes);
        if (!status.ok()) {
            error = EDBEngineError::describe(status);
            return false;
        }
        codeRules[column.column] = {codes.get(), column.lookupTable};
        codes_.push_back(std::move(codes));
    }
    for (size_t i = 0; i < columns.size(); ++i) {
        const ExportColumn& column = columns[i];
        if (column.isLookup())
            continue;
        Rule rule;
        rule.row = static_cast<int>(i);
        rule.column = column.column;
        rule.name = column.name;
        rule.date = column.type == ColumnType::Date;
        const FieldDescription& stored = file.fields[static_cast<size_t>(column.column)];
        const TField* field = table.FindField(column.name);
        rule.size = field && field->Size() > 0 ? field->Size() : stored.size;
        if (field && !rule.date)
            rule.mask = EditMask(field->EditMask);
        if (auto found = codeRules.find(column.column); found != codeRules.end()) {
            rule.codes = found->second.first;
            rule.codeTable = found->second.second;
        }
        rules_.push_back(std::move(rule));
    }
    for (const IndexDescription& index : file.indexes)
        if (index.primary)
            for (const std::string& name : index.fields) {
                keys_.push_back(file.fieldNumber(name));
                keyNames_.push_back(name);
            }
    blank_.values.assign(file.fields.size(), FieldValue());
    for (size_t i = 0; i < file.fields.size(); ++i)
        if (file.fields[i].hasDefault)
            blank_.values[i] = file.fields[i].defaultValue;
    return true;
}

std::string ImportRowCheck::checkText(const Rule& rule, const std::string& text) const
{
    if (std::string problem = StorableText::problem(text); !problem.empty())
        return rule.name + ": " + problem;
    if (rule.size > 0 && characters(text) > static_cast<size_t>(rule.size))
        return rule.name + ": longer than " + std::to_string(rule.size) + " characters";
    if (!rule.mask.empty() && !text.empty()) {
        // As the masked box would hold it: every character at its position,
        // accepted there, every required position filled, nothing left over.
        std::u32string edit = rule.mask.apply(UnicodeText::fromUtf8(text), rule.mask.blank());
        int bad = rule.mask.firstInvalidPosition(edit);
        for (int pos = 0; bad < 0 && pos < rule.mask.width(); ++pos)
            if (!rule.mask.isLiteral(pos) && edit[pos] != rule.mask.blank() && edit[pos] != U' ' &&
                !rule.mask.accepts(pos, edit[pos]))
                bad = pos;
        if (bad >= 0)
            return rule.name + ": Invalid input value (position " + std::to_string(bad + 1) + ")";
        if (UnicodeText::toUtf8(rule.mask.read(edit)) != text)
            return rule.name + ": '" + text + "' does not fit the mask " + rule.mask.text();
    }
    if (rule.codes && !text.empty() && !rule.codes->count(text))
        return rule.name + ": code '" + text + "' is not in " + rule.codeTable;
    return std::string();
}

std::vector<std::string> ImportRowCheck::check(const std::vector<std::string>& row, EngineRecord& record) const
{
    std::vector<std::string> reasons;
    record = blank_;
    for (const Rule& rule : rules_) {
        const std::string& text = row[static_cast<size_t>(rule.row)];
        FieldValue& value = record.values[static_cast<size_t>(rule.column)];
        if (rule.date) {
            if (text.empty()) {
                value.reset();
                continue;
            }
            std::optional<CalendarDate> date = DateText::parse(text, settings_, currentYear_);
            if (!date) {
                reasons.push_back(rule.name + ": '" + text + "' is not a valid date");
                continue;
            }
            value = date->iso();
            continue;
        }
        std::string reason = checkText(rule, text);
        if (!reason.empty())
            reasons.push_back(reason);
        value = text;
    }
    for (size_t i = 0; i < keys_.size(); ++i)
        if (keys_[i] >= 0 && record.values[static_cast<size_t>(keys_[i])].value_or(std::string()).empty())
            reasons.push_back(keyNames_[i] + ": a key field may not be empty");
    return reasons;
}
