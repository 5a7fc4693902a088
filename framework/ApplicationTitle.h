#pragma once
#include <QString>

// The title every box without a caption of its own shows. It comes from the
// program file's name alone; nothing in the program sets another one.
class ApplicationTitle {
public:
    // "/usr/bin/ARSIPSTAF.exe" -> "Arsipstaf": no folder, nothing from the
    // first "." on, every character after the first in lower case.
    static QString fromProgramPath(const QString& path);

    // The title of the running program (from QCoreApplication's file path).
    static QString current();
};
