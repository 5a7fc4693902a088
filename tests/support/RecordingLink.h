#pragma once
#include "TDataLink.h"
#include "TDataSet.h"
#include "TField.h"

#include <string>
#include <vector>

// A data link that writes down every notification it hears, into a log
// that several links may share, so tests can check order across links.
class RecordingLink : public TDataLink {
public:
    RecordingLink(std::string name, std::vector<std::string>& log, bool visual = false)
        : name_(std::move(name)), log_(log), visual_(visual)
    {
    }

    bool IsVisual() const override { return visual_; }
    int scrolled = 0;

protected:
    void ActiveChanged() override { note(Active() ? "active" : "inactive"); }
    void EditingChanged() override { note(Editing() ? "editing" : "not editing"); }
    void RecordChanged(TField* field) override { note(field ? "field " + field->FieldName() : "record"); }
    void DataSetChanged() override { note("dataset"); }
    void DataSetScrolled(int rows) override
    {
        scrolled += rows;
        note("scroll " + std::to_string(rows));
    }
    void UpdateData() override { note("update"); }
    void CheckBrowseMode() override { note("check"); }

private:
    void note(const std::string& what) { log_.push_back(name_ + ": " + what); }

    std::string name_;
    std::vector<std::string>& log_;
    bool visual_;
};
