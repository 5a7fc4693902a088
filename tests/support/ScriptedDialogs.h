#pragma once
// File and print-setup dialogs for tests: each records what it was asked
// and gives the answer the test set.
#include "FileDialogs.h"
#include "PrintSetupDialog.h"

#include <QString>
#include <functional>
#include <vector>

class ScriptedFileDialogs : public FileDialogs {
public:
    bool Save(const FileDialogRequest& request, QString& fileName, int& filterIndex) override
    {
        saves.push_back(request);
        if (!accept)
            return false;
        fileName = answer;
        filterIndex = answerFilter;
        return true;
    }
    bool Open(const FileDialogRequest& request, QString& fileName) override
    {
        opens.push_back(request);
        if (!accept)
            return false;
        fileName = answer;
        return true;
    }

    bool accept = true;
    QString answer;
    int answerFilter = 0;
    std::vector<FileDialogRequest> saves, opens;
};

class ScriptedPrintSetup : public PrintSetupDialog {
public:
    bool Execute(PrintSetupRequest& request) override
    {
        asked.push_back(request);
        if (!accept)
            return false;
        if (choose)
            choose(request);
        return true;
    }

    bool accept = true;
    std::function<void(PrintSetupRequest&)> choose;
    std::vector<PrintSetupRequest> asked;
};
