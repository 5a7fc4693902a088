#include "KeysetCursor.h"

#include "SqliteTableFile.h"

#include <algorithm>

EngineStatus KeysetCursor::noCurrentRecord()
{
    return EngineStatus::failure(EngineCode::RecordNotFound, "No current record.");
}

const IndexDescription& KeysetCursor::currentIndex() const
{
    static const IndexDescription fileOrder;
    return indexNumber_ < 0 ? fileOrder : description().indexes[static_cast<size_t>(indexNumber_)];
}

void KeysetCursor::standOn(const std::vector<FieldValue>& values, std::int64_t rowid)
{
    const std::vector<int>& columns = keyColumns();
    for (size_t i = 0; i < columns.size(); ++i) {
        const FieldValue& value = values[static_cast<size_t>(columns[i])];
        key_[i] = value ? *value : std::string();
    }
    rowid_ = rowid;
    place_ = Place::Record;
}

void KeysetCursor::standOnCrack(int prefix, bool inclusive)
{
    place_ = Place::Crack;
    prefix_ = prefix;
    inclusive_ = inclusive;
    leftRecord();
}

EngineStatus KeysetCursor::setToBegin()
{
    place_ = Place::Begin;
    leftRecord();
    return EngineStatus::success();
}

EngineStatus KeysetCursor::setToEnd()
{
    place_ = Place::End;
    leftRecord();
    return EngineStatus::success();
}

EngineStatus KeysetCursor::getBookmark(std::int64_t& out)
{
    if (place_ != Place::Record)
        return noCurrentRecord();
    out = rowid_;
    return EngineStatus::success();
}

EngineStatus KeysetCursor::setToRecord(const EngineRecord& record)
{
    if (record.bookmark == 0 || record.values.size() != description().fields.size())
        return setToBookmark(record.bookmark);
    standOn(record);
    // Whatever the engine kept about its last read belongs to another record.
    leftRecord();
    return EngineStatus::success();
}

EngineStatus KeysetCursor::setToCrackBefore(std::int64_t bookmark)
{
    EngineStatus status = setToBookmark(bookmark);
    if (!status.ok())
        return status;
    standOnCrack(keyLength(), true);
    return EngineStatus::success();
}

EngineStatus KeysetCursor::extractKey(const EngineRecord& record, std::vector<FieldValue>& key)
{
    key.clear();
    const std::vector<int>& columns = keyColumns();
    for (int i = 0; i < keyFieldCount(); ++i) {
        size_t column = static_cast<size_t>(columns[static_cast<size_t>(i)]);
        if (column >= record.values.size())
            return failure(EngineCode::InvalidKey, "The record buffer has too few fields.");
        key.push_back(record.values[column]);
    }
    return EngineStatus::success();
}

EngineStatus KeysetCursor::findKey(const std::vector<FieldValue>& key, int fieldCount)
{
    if (fieldCount < 1 || fieldCount > keyFieldCount() || fieldCount > static_cast<int>(key.size()))
        return failure(EngineCode::InvalidKey, "Invalid key: " + std::to_string(fieldCount) + " key fields.");
    std::vector<std::string> saved = key_;
    for (int i = 0; i < fieldCount; ++i)
        key_[static_cast<size_t>(i)] = key[static_cast<size_t>(i)].value_or(std::string());
    bool found = false;
    EngineStatus status = seekEqual(fieldCount, found);
    if (!found) {
        key_ = std::move(saved);
        if (status.ok())
            status = EngineStatus::failure(EngineCode::RecordNotFound, "Record not found.");
    }
    return status;
}

EngineStatus KeysetCursor::setToKey(const std::vector<FieldValue>& key, int fieldCount, bool after)
{
    int count = std::min({fieldCount, keyFieldCount(), static_cast<int>(key.size())});
    if (count <= 0)
        return setToBegin();
    for (int i = 0; i < count; ++i)
        key_[static_cast<size_t>(i)] = key[static_cast<size_t>(i)].value_or(std::string());
    standOnCrack(count, !after);
    return EngineStatus::success();
}

EngineStatus KeysetCursor::initRecord(EngineRecord& out)
{
    const std::vector<FieldDescription>& fields = description().fields;
    out.values.assign(fields.size(), std::nullopt);
    out.bookmark = 0;
    for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i].hasDefault)
            out.values[i] = fields[i].defaultValue;
    return EngineStatus::success();
}

EngineStatus KeysetCursor::putField(EngineRecord& record, int fieldNumber, const FieldValue& value)
{
    const std::vector<FieldDescription>& fields = description().fields;
    if (fieldNumber < 0 || fieldNumber >= static_cast<int>(fields.size()))
        return failure(EngineCode::NoSuchField, "No field number " + std::to_string(fieldNumber) + ".");
    const FieldDescription& field = fields[static_cast<size_t>(fieldNumber)];
    record.values.resize(fields.size());
    FieldValue& slot = record.values[static_cast<size_t>(fieldNumber)];
    if (value && field.type == ColumnType::Text)
        slot = SqliteTableFile::cutToSize(*value, field.size);
    else
        slot = value;
    return EngineStatus::success();
}

EngineStatus KeysetCursor::checkFilter(const std::vector<int>& fieldNumbers,
                                       const std::vector<FieldValue>& values) const
{
    const std::vector<FieldDescription>& fields = description().fields;
    if (fieldNumbers.size() != values.size())
        return failure(EngineCode::InvalidKey, "Filter fields and values differ in number.");
    for (int number : fieldNumbers)
        if (number < 0 || number >= static_cast<int>(fields.size()))
            return failure(EngineCode::NoSuchField, "No field number " + std::to_string(number) + ".");
    return EngineStatus::success();
}
