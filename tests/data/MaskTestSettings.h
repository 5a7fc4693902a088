#pragma once
#include "RegionalSettings.h"

// Gives a test its own date and time separators and puts the previous
// settings back afterwards. Masks read the separators when they are parsed,
// so create the masks after this.
class MaskTestSettings {
public:
    explicit MaskTestSettings(char dateSeparator = '/', char timeSeparator = ':') : saved_(RegionalSettings::current())
    {
        RegionalSettings::current().dateSeparator = dateSeparator;
        RegionalSettings::current().timeSeparator = timeSeparator;
    }
    ~MaskTestSettings() { RegionalSettings::current() = saved_; }
    MaskTestSettings(const MaskTestSettings&) = delete;
    MaskTestSettings& operator=(const MaskTestSettings&) = delete;

private:
    RegionalSettings saved_;
};
