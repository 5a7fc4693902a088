#pragma once
#include <QString>

// The open and save dialogs the preview asks for file names. The filter is
// in pairs "description|pattern|description|pattern..."; the chosen entry is
// counted from 0.
struct FileDialogRequest {
    QString title;
    QString filter;
    QString defaultExt;  // without the dot; empty for none
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // False when the user cancelled.
    virtual bool Save(const FileDialogRequest& request, QString& fileName, int& filterIndex) = 0;
    virtual bool Open(const FileDialogRequest& request, QString& fileName) = 0;
};
