#pragma once
#include <string>

// A field as the report reads it.
class ReportField {
public:
    virtual ~ReportField() = default;
    // May raise an error; the report then prints an empty text.
    virtual std::string DisplayText() const = 0;
};

// The few dataset calls a report run makes: the traversal moves through the
// records and the data texts read their fields' display texts.
class ReportDataSet {
public:
    virtual ~ReportDataSet() = default;
    virtual bool Active() const = 0;
    virtual void First() = 0;
    virtual void Next() = 0;
    virtual bool Eof() const = 0;
    // May raise an error when the count cannot be had.
    virtual int RecordCount() = 0;
    // nullptr when the dataset has no such field; the field stays owned by the dataset.
    virtual ReportField* FindField(const std::string& name) = 0;
};
