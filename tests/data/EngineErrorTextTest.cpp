#include "EDBEngineError.h"
#include "RegionalSettings.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(EngineErrorText, MessageThenDistinctStackLines)
{
    EngineStatus status = EngineStatus::failure(
        EngineCode::KeyViolation, "Key violation.",
        {"Table: Datapegawai.db", "Key violation.", "", "Table: Datapegawai.db", "File: /data/Datapegawai.db"});
    EDBEngineError error(status);
    EXPECT_STREQ(error.what(), "Key violation.\nTable: Datapegawai.db\nFile: /data/Datapegawai.db");
    EXPECT_EQ(error.code(), EngineCode::KeyViolation);
}

TEST(EngineErrorText, WithoutAnyTextTheCodeInFourHexDigits)
{
    EXPECT_STREQ(EDBEngineError(EngineStatus::failure(EngineCode::RecordLocked, "")).what(), "Engine error $2602");
    EXPECT_STREQ(EDBEngineError(EngineStatus::failure(EngineCode::RecordLocked, "", {"only detail"})).what(),
                 "only detail");
    EXPECT_STREQ(EDBEngineError::startFailure(EngineStatus::failure(EngineCode::NotStarted, "anything")).what(),
                 "An error occurred while attempting to initialize the database engine (error $2a01)");
}

struct LocaleCase {
    const char* locale;
    const char* shortDateFormat;
    char separator;
};

class RegionalFromLocale : public ::testing::TestWithParam<LocaleCase> {};

TEST_P(RegionalFromLocale, ReadsTheDateFormatOfTheLocale)
{
    const char* previous = std::getenv("LC_ALL");
    std::string saved = previous ? previous : "";
    setenv("LC_ALL", GetParam().locale, 1);
    RegionalSettings settings = RegionalSettings::fromLocale();
    previous ? setenv("LC_ALL", saved.c_str(), 1) : unsetenv("LC_ALL");
    EXPECT_EQ(settings.shortDateFormat, GetParam().shortDateFormat);
    EXPECT_EQ(settings.dateSeparator, GetParam().separator);
    EXPECT_EQ(settings.timeSeparator, ':');
}

INSTANTIATE_TEST_SUITE_P(Locales, RegionalFromLocale,
                         ::testing::Values(LocaleCase{"C", "MM/dd/yyyy", '/'}, LocaleCase{"C.UTF-8", "MM/dd/yyyy", '/'},
                                           LocaleCase{"no-such-locale", "MM/dd/yyyy", '/'}));

TEST(RegionalSettingsFormats, StrftimeFormatsBecomeShortDateFormats)
{
    RegionalSettings german = RegionalSettings::fromDateFormat("%d.%m.%Y");
    EXPECT_EQ(german.shortDateFormat, "dd.MM.yyyy");
    EXPECT_EQ(german.dateSeparator, '.');
    // A two-digit year would lose the century of every date read back.
    EXPECT_EQ(RegionalSettings::fromDateFormat("%d/%m/%y").shortDateFormat, "dd/MM/yyyy");
    RegionalSettings iso = RegionalSettings::fromDateFormat("%Y-%m-%d");
    EXPECT_EQ(iso.shortDateFormat, "yyyy-MM-dd");
    EXPECT_EQ(iso.dateSeparator, '-');
}

}  // namespace
