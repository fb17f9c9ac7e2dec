#pragma once

#include "dbaccess/TCustomADODataSet.h"
#include "dbaccess/values/TStrings.h"

class TADOQuery;

// The lines of a query's statement; every change closes the query.
class TSQLStrings : public TStringList {
public:
    explicit TSQLStrings(TADOQuery& query) : query_(query) {}

    void Clear() override;
    void Add(const std::string& text) override;
    void SetStrings(int index, const std::string& text) override;
    // Every line followed by a carriage return and a line feed.
    std::string Text() const;

private:
    TADOQuery& query_;
};

class TADOQuery : public TCustomADODataSet {
public:
    explicit TADOQuery(std::string name = {}, TADOConnection* connection = nullptr);

    TSQLStrings& SQL() noexcept { return sql_; }
    const TSQLStrings& SQL() const noexcept { return sql_; }
    int MaxRecords() const noexcept { return maxRecords_; }
    void SetMaxRecords(int maxRecords);

    // Runs the statement without expecting rows; the number of rows affected.
    int ExecuteStatement();

protected:
    std::unique_ptr<ResultSet> openResult() override;

private:
    friend class TSQLStrings;
    void sqlChanged();
    std::string statementText() const;

    TSQLStrings sql_;
    int maxRecords_ = 0;
};
