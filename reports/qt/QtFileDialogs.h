#pragma once
#include <QStringList>

#include "FileDialogs.h"

// The standard file dialogs.
class QtFileDialogs : public FileDialogs {
public:
    bool Save(const FileDialogRequest& request, QString& fileName, int& filterIndex) override;
    bool Open(const FileDialogRequest& request, QString& fileName) override;

    // "Report file(*.RPF)|*.RPF" as the dialog's name filters; each entry shows
    // its description alone.
    static QStringList nameFilters(const QString& filter);
};
