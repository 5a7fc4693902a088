#pragma once
#include "FieldValue.h"
#include "TableDescription.h"

#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

// Realistic demonstration records: Indonesian names and places, distinct
// numbers. Record n always has the same NIP and decree number, and distinct
// n give distinct ones, so a second run that continues the numbering never
// collides with the first.
class DemoRecordMaker {
public:
    // Codes to draw from, per code table key column ("Kd_JK" ...).
    struct Codes {
        std::vector<std::string> sexes, religions, ranks, grades, positions, educations, statuses;
    };

    DemoRecordMaker(Codes codes, std::uint64_t seed) : codes_(std::move(codes)), random_(seed) {}

    // Ten-digit employee number of record n (n < 9,000,000,000).
    static std::string employeeNumber(std::uint64_t n);
    // Decree number of record n fitting "!A-9999-AA.99.99-9999".
    static std::string decreeNumber(std::uint64_t n);

    // Values by column name for "Datapegawai.db" and "Mutasi.db"; a column
    // it does not name gets its default (inColumnOrder).
    using Named = std::vector<std::pair<std::string, std::string>>;
    Named employee(std::uint64_t n);
    Named transfer(std::uint64_t n);
    // The values in the table's column order: a named value where there is
    // one, the column's default (or nothing) elsewhere.
    static std::vector<FieldValue> inColumnOrder(const Named& values, const TableDescription& table);

private:
    const std::string& pick(const std::vector<std::string>& list);
    std::string pickCode(const std::vector<std::string>& codes);
    std::string digits(int count);
    std::string date(int fromYear, int toYear);
    std::string name();
    std::string rankFor(const std::string& grade);

    Codes codes_;
    std::mt19937_64 random_;
};
