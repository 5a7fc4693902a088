#pragma once
#include "RegionalSettings.h"

#include <optional>
#include <string>

// Dates as the program stores them ("YYYY-MM-DD") and as users read and
// write them (the regional short date format).
struct CalendarDate {
    int year = 0;
    int month = 0;
    int day = 0;

    bool valid() const;
    std::string iso() const;  // "YYYY-MM-DD"
    static std::optional<CalendarDate> fromIso(const std::string& text);
    static CalendarDate today();
};

class DateText {
public:
    // The date written in the short date format: "d"/"dd" day, "M"/"MM"
    // month, "yy"/"yyyy" year, anything else literal.
    static std::string format(const CalendarDate& date, const RegionalSettings& settings);

    // Reads a date typed by a user. Two or three numbers of up to four
    // digits in the format's order; two numbers take the current year; one-
    // or two-digit years fall in the hundred years starting 50 years back.
    // nullopt when the text is not a valid date (the caller raises).
    static std::optional<CalendarDate> parse(const std::string& text, const RegionalSettings& settings,
                                             int currentYear);
};
