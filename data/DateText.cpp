#include "DateText.h"

#include <cctype>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

bool leapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && leapYear(year) ? 29 : days[month - 1];
}

enum class Order { DMY, MDY, YMD };

Order dateOrder(const std::string& format)
{
    for (char c : format) {
        switch (std::tolower(static_cast<unsigned char>(c))) {
        case 'd':
            return Order::DMY;
        case 'm':
            return Order::MDY;
        case 'y':
        case 'e':
            return Order::YMD;
        default:
            break;
        }
    }
    return Order::MDY;
}

struct Number {
    int value;
    int digits;
};

void skipBlanks(const std::string& text, size_t& pos)
{
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
}

bool readNumber(const std::string& text, size_t& pos, Number& out)
{
    skipBlanks(text, pos);
    out = {0, 0};
    while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) {
        if (++out.digits > 4)
            return false;
        out.value = out.value * 10 + (text[pos++] - '0');
    }
    return out.digits > 0;
}

// Reads "n sep n [sep n] [sep] [blanks]" into numbers; false if anything is left.
bool readNumbers(const std::string& text, char separator, std::vector<Number>& numbers)
{
    size_t pos = 0;
    for (;;) {
        Number number;
        if (!readNumber(text, pos, number))
            return false;
        numbers.push_back(number);
        skipBlanks(text, pos);
        if (pos == text.size())
            return numbers.size() >= 2;
        if (text[pos] != separator)
            return false;
        ++pos;
        skipBlanks(text, pos);
        if (pos == text.size())
            return numbers.size() >= 2;
        if (numbers.size() == 3)
            return false;
    }
}

int windowedYear(const Number& year, int currentYear)
{
    if (year.digits > 2)
        return year.value;
    int start = currentYear - 50;
    int result = year.value + start / 100 * 100;
    if (result < start)
        result += 100;
    return result;
}

}  // namespace

bool CalendarDate::valid() const
{
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= daysInMonth(year, month);
}

std::string CalendarDate::iso() const
{
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
    return text;
}

std::optional<CalendarDate> CalendarDate::fromIso(const std::string& text)
{
    CalendarDate date;
    const auto digits = [&](size_t at, size_t count) {
        int n = 0;
        for (size_t i = at; i < at + count; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return -1;
            n = n * 10 + (text[i] - '0');
        }
        return n;
    };
    // The stored form, read without the scanner (a report reads one a
    // record); anything else as the scanner reads it.
    if (text.size() == 10 && text[4] == '-' && text[7] == '-' && digits(0, 4) >= 0 && digits(5, 2) >= 0 &&
        digits(8, 2) >= 0) {
        date = {digits(0, 4), digits(5, 2), digits(8, 2)};
    } else {
        char tail = 0;
        if (text.size() != 10 ||
            std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &date.year, &date.month, &date.day, &tail) != 3)
            return std::nullopt;
    }
    if (!date.valid())
        return std::nullopt;
    return date;
}

CalendarDate CalendarDate::today()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

namespace {

// As printf's "%0<width>d": the sign counts towards the width.
void appendNumber(std::string& text, int value, int width)
{
    const bool negative = value < 0;
    long long left = negative ? -static_cast<long long>(value) : value;
    char digits[24];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + left % 10);
        left /= 10;
    } while (left > 0);
    if (negative)
        text += '-';
    for (int pad = width - count - (negative ? 1 : 0); pad > 0; --pad)
        text += '0';
    while (count > 0)
        text += digits[--count];
}

}  // namespace

// Every date a report prints comes through here: numbers are written
// directly rather than through printf.
std::string DateText::format(const CalendarDate& date, const RegionalSettings& settings)
{
    const std::string& pattern = settings.shortDateFormat;
    std::string text;
    for (size_t i = 0; i < pattern.size();) {
        char c = pattern[i];
        size_t run = 1;
        while (i + run < pattern.size() && pattern[i + run] == c)
            ++run;
        switch (c) {
        case 'd':
        case 'D':
            appendNumber(text, date.day, run >= 2 ? 2 : 1);
            break;
        case 'M':
        case 'm':
            appendNumber(text, date.month, run >= 2 ? 2 : 1);
            break;
        case 'y':
        case 'Y':
            if (run <= 2)
                appendNumber(text, date.year % 100, 2);
            else
                appendNumber(text, date.year, 4);
            break;
        case '/':
            text.append(run, settings.dateSeparator);
            break;
        default:
            text.append(pattern, i, run);
            break;
        }
        i += run;
    }
    return text;
}

std::optional<CalendarDate> DateText::parse(const std::string& text, const RegionalSettings& settings, int currentYear)
{
    std::vector<Number> numbers;
    if (!readNumbers(text, settings.dateSeparator, numbers))
        return std::nullopt;
    Order order = dateOrder(settings.shortDateFormat);
    CalendarDate date;
    if (numbers.size() == 2) {
        date.year = currentYear;
        if (order == Order::DMY) {
            date.day = numbers[0].value;
            date.month = numbers[1].value;
        } else {
            date.month = numbers[0].value;
            date.day = numbers[1].value;
        }
    } else {
        Number year{};
        switch (order) {
        case Order::DMY:
            date.day = numbers[0].value;
            date.month = numbers[1].value;
            year = numbers[2];
            break;
        case Order::MDY:
            date.month = numbers[0].value;
            date.day = numbers[1].value;
            year = numbers[2];
            break;
        case Order::YMD:
            year = numbers[0];
            date.month = numbers[1].value;
            date.day = numbers[2].value;
            break;
        }
        date.year = windowedYear(year, currentYear);
    }
    if (!date.valid())
        return std::nullopt;
    return date;
}
