#pragma once
#include <QStringList>

// The two fixed texts of the information windows, line by line.
class InformationTexts {
public:
    // How to use the program: 40 lines, the last one empty.
    static const QStringList& usage();
    // A short history of the office: 18 lines.
    static const QStringList& officeHistory();
};
