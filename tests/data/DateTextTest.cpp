#include "DateText.h"

#include <gtest/gtest.h>

namespace {

RegionalSettings dayMonthYear()
{
    return RegionalSettings::fromDateFormat("%d/%m/%Y");
}

struct ParseCase {
    const char* text;
    const char* format;  // strftime form
    const char* iso;     // nullptr: not a valid date
};

class DateParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(DateParse, ReadsAsRegionalOrderSays)
{
    const ParseCase& c = GetParam();
    auto date = DateText::parse(c.text, RegionalSettings::fromDateFormat(c.format), 2026);
    if (!c.iso) {
        EXPECT_FALSE(date.has_value()) << c.text;
        return;
    }
    ASSERT_TRUE(date.has_value()) << c.text;
    EXPECT_EQ(date->iso(), c.iso);
}

INSTANTIATE_TEST_SUITE_P(
    Dates, DateParse,
    ::testing::Values(
        ParseCase{"17/08/1945", "%d/%m/%Y", "1945-08-17"}, ParseCase{"08/17/1945", "%m/%d/%Y", "1945-08-17"},
        ParseCase{"1945/08/17", "%Y/%m/%d", "1945-08-17"}, ParseCase{" 1 / 2 /1990", "%d/%m/%Y", "1990-02-01"},
        ParseCase{"1/2/1990/", "%d/%m/%Y", "1990-02-01"}, ParseCase{"1/2/1990 ", "%d/%m/%Y", "1990-02-01"},
        ParseCase{"5/6", "%d/%m/%Y", "2026-06-05"}, ParseCase{"5/6", "%m/%d/%Y", "2026-05-06"},
        // The century window of 2026 runs from 1976 to 2075.
        ParseCase{"1/1/76", "%d/%m/%Y", "1976-01-01"}, ParseCase{"1/1/75", "%d/%m/%Y", "2075-01-01"},
        ParseCase{"1/1/05", "%d/%m/%Y", "2005-01-01"}, ParseCase{"1/1/5", "%d/%m/%Y", "2005-01-01"},
        ParseCase{"29/02/2024", "%d/%m/%Y", "2024-02-29"}, ParseCase{"29/02/2023", "%d/%m/%Y", nullptr},
        ParseCase{"31/02/1990", "%d/%m/%Y", nullptr}, ParseCase{"1/13/1990", "%d/%m/%Y", nullptr},
        ParseCase{"0/1/1990", "%d/%m/%Y", nullptr}, ParseCase{"1/1/19900", "%d/%m/%Y", nullptr},
        ParseCase{"1-1-1990", "%d/%m/%Y", nullptr}, ParseCase{"1/1/1990//", "%d/%m/%Y", nullptr},
        ParseCase{"1/1/1/1", "%d/%m/%Y", nullptr}, ParseCase{"12", "%d/%m/%Y", nullptr},
        ParseCase{"  /  /    ", "%d/%m/%Y", nullptr}, ParseCase{"1.2.1990", "%d.%m.%Y", "1990-02-01"},
        ParseCase{"abc", "%d/%m/%Y", nullptr}));

TEST(DateFormat, FollowsTheShortDateFormat)
{
    CalendarDate date{1945, 8, 7};
    EXPECT_EQ(DateText::format(date, dayMonthYear()), "07/08/1945");
    EXPECT_EQ(DateText::format(date, RegionalSettings::fromDateFormat("%m/%d/%y")), "08/07/1945");
    RegionalSettings twoDigits;
    twoDigits.shortDateFormat = "dd/MM/yy";
    EXPECT_EQ(DateText::format(date, twoDigits), "07/08/45");
    RegionalSettings loose;
    loose.shortDateFormat = "d/M/yyyy";
    loose.dateSeparator = '-';
    EXPECT_EQ(DateText::format(date, loose), "7-8-1945");
    // early years are padded to the pattern's width, as printf pads them
    EXPECT_EQ(DateText::format(CalendarDate{7, 1, 31}, dayMonthYear()), "31/01/0007");
    EXPECT_EQ(DateText::format(CalendarDate{2005, 12, 3}, twoDigits), "03/12/05");
    EXPECT_EQ(DateText::format(CalendarDate{2000, 10, 10}, loose), "10-10-2000");
}

TEST(DateFormat, IsoRoundTripRejectsNonsense)
{
    EXPECT_EQ(CalendarDate::fromIso("1990-02-01")->iso(), "1990-02-01");
    EXPECT_FALSE(CalendarDate::fromIso("1990-02-30").has_value());
    EXPECT_FALSE(CalendarDate::fromIso("1990-2-1").has_value());
    EXPECT_FALSE(CalendarDate::fromIso("").has_value());
}

}  // namespace
