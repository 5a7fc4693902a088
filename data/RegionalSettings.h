#pragma once
#include <string>

// The platform's regional settings that dates, masks and reports follow.
// current() is read from the user's locale on first use; tests assign their
// own values to it.
struct RegionalSettings {
    enum class Measurement { Metric, US };

    std::string shortDateFormat = "dd/MM/yyyy";  // d, M, y letters; others are literal
    char dateSeparator = '/';
    char timeSeparator = ':';
    Measurement measurement = Measurement::Metric;

    static RegionalSettings& current();
    // Settings of the locale named by the environment (LC_ALL, LC_TIME ...).
    static RegionalSettings fromLocale();
    // Settings for a strftime date format such as "%d/%m/%Y".
    static RegionalSettings fromDateFormat(const std::string& format);
};
