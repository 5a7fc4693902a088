#pragma once
#include "FieldValue.h"

#include <libpq-fe.h>

#include <cstdint>
#include <string>

// One result of the database server, cleared when the object goes.
class PgResult {
public:
    PgResult() = default;
    explicit PgResult(PGresult* result) : result_(result) {}
    PgResult(const PgResult&) = delete;
    PgResult& operator=(const PgResult&) = delete;
    PgResult(PgResult&& other) noexcept : result_(other.result_) { other.result_ = nullptr; }
    PgResult& operator=(PgResult&& other) noexcept
    {
        std::swap(result_, other.result_);
        return *this;
    }
    ~PgResult() { PQclear(result_); }

    PGresult* get() const { return result_; }
    int rows() const { return result_ ? PQntuples(result_) : 0; }
    bool isNull(int row, int column) const { return PQgetisnull(result_, row, column) != 0; }
    std::string text(int row, int column) const { return PQgetvalue(result_, row, column); }
    FieldValue value(int row, int column) const
    {
        return isNull(row, column) ? FieldValue() : FieldValue(text(row, column));
    }
    std::int64_t int64(int row, int column) const { return std::stoll(text(row, column)); }
    // Rows an INSERT, UPDATE or DELETE touched.
    std::int64_t affected() const
    {
        const char* count = result_ ? PQcmdTuples(result_) : "";
        return *count ? std::stoll(count) : 0;
    }

private:
    PGresult* result_ = nullptr;
};
