#pragma once
#include "TRepTypes.h"

#include <QRect>
#include <QStringList>

// What differs between the usage and the office history window.
struct InformationWindowLayout {
    const QStringList& (*text)();  // line by line
    TRepAlignment alignment;
    QRect memo;
    QRect closeButton;  // "Tutup"
};
