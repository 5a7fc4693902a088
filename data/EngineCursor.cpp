#include "EngineCursor.h"

#include "TextCompare.h"

EngineStatus EngineCursor::getRecords(int count, bool forward, std::vector<EngineRecord>& out)
{
    out.clear();
    EngineRecord record;
    while (static_cast<int>(out.size()) < count) {
        EngineStatus status = forward ? getNext(record) : getPrior(record);
        if (status.endOfData())
            break;
        if (!status.ok())
            return status;
        out.push_back(record);
    }
    return EngineStatus::success();
}

EngineStatus EngineCursor::getNextRecords(int count, std::vector<EngineRecord>& out)
{
    return getRecords(count, true, out);
}

EngineStatus EngineCursor::getPriorRecords(int count, std::vector<EngineRecord>& out)
{
    return getRecords(count, false, out);
}

EngineStatus EngineCursor::findPrefix(int fieldNumber, const std::string& prefix, EngineRecord& out)
{
    EngineStatus status = setToBegin();
    if (!status.ok())
        return status;
    EngineRecord record;
    while ((status = getNext(record)).ok()) {
        const FieldValue& value = record.values[static_cast<size_t>(fieldNumber)];
        if (TextCompare::startsWithNoCase(value.value_or(std::string()), prefix)) {
            out = std::move(record);
            return status;
        }
    }
    if (status.endOfData())
        return EngineStatus::failure(EngineCode::RecordNotFound, "Record not found.");
    return status;
}

EngineStatus EngineCursor::getRecordsAround(const EngineRecord& record, int before, int after,
                                            std::vector<EngineRecord>& above, std::vector<EngineRecord>& below)
{
    above.clear();
    below.clear();
    EngineStatus status = setToRecord(record);
    if (status.ok() && before > 0) {
        status = getPriorRecords(before, above);
        if (status.ok())
            status = setToRecord(record);
    }
    if (status.ok() && after > 0) {
        status = getNextRecords(after, below);
        if (status.ok())
            status = setToRecord(record);
    }
    return status;
}

EngineStatus EngineCursor::readHistory(const HistoryQuery&, std::vector<HistoryRow>& out)
{
    out.clear();
    return EngineStatus::success();
}
