// One prepared SQLite statement: parameters bound by index, rows stepped, columns read by index.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3_stmt;
class CSqliteDatabase;

class CSqliteStatement
{
public:
    enum class Step
    {
        Row,
        Done,
        Error,
    };

    CSqliteStatement() = default;
    ~CSqliteStatement();
    CSqliteStatement(const CSqliteStatement&) = delete;
    CSqliteStatement& operator=(const CSqliteStatement&) = delete;

    // False when the connection is closed or the text is not one valid statement.
    bool Prepare(const CSqliteDatabase& database, std::string_view sql);
    bool IsPrepared() const { return m_handle != nullptr; }

    // Back to the start with every parameter unbound, ready for reuse.
    void Reset();

    // Parameter indexes count from 1, as in the SQL text (?1, ?2, ...).
    bool BindInt(int index, int64_t value);
    bool BindDouble(int index, double value);
    bool BindText(int index, std::string_view utf8);

    Step Next();

    // Runs a statement that returns no rows to its end.
    bool Run();

    // Column indexes count from 0. NULL reads as 0 or an empty text.
    int ColumnCount() const;
    int64_t ColumnInt(int index) const;
    double ColumnDouble(int index) const;
    std::string ColumnText(int index) const;
    std::string ColumnName(int index) const;

private:
    struct Finalizer
    {
        void operator()(sqlite3_stmt* handle) const;
    };

    std::unique_ptr<sqlite3_stmt, Finalizer> m_handle;
};

// Resets a statement when the scope that used it ends, so that no finished or abandoned read
// keeps the database's read transaction open.
class CStatementScope
{
public:
    explicit CStatementScope(CSqliteStatement& statement) : m_statement(statement) {}
    ~CStatementScope() { m_statement.Reset(); }
    CStatementScope(const CStatementScope&) = delete;
    CStatementScope& operator=(const CStatementScope&) = delete;

private:
    CSqliteStatement& m_statement;
};
