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
    // The entry of filter the dialog's chosen name filter stands for, with or
    // without its details shown; -1 when none.
    static int filterIndex(const QString& filter, const QString& chosen);
    // The extension of entry index's pattern ("*.pdf": "pdf"); empty when none.
    static QString extension(const QString& filter, int index);
};
