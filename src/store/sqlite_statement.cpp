#include "store/sqlite_statement.h"

#include <cctype>

#include <sqlite3.h>

#include "store/sqlite_database.h"

void CSqliteStatement::Finalizer::operator()(sqlite3_stmt* handle) const
{
    sqlite3_finalize(handle);
}

CSqliteStatement::~CSqliteStatement() = default;

bool CSqliteStatement::Prepare(const CSqliteDatabase& database, std::string_view sql)
{
    m_handle.reset();
    if (!database.IsOpen())
        return false;
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    const int result = sqlite3_prepare_v3(database.Handle(), sql.data(), static_cast<int>(sql.size()),
                                          SQLITE_PREPARE_PERSISTENT, &raw, &tail);
    m_handle.reset(raw);
    if (result != SQLITE_OK || raw == nullptr)
    {
        m_handle.reset();
        return false;
    }
    // A second statement in the text would silently never run.
    for (; tail != nullptr && tail < sql.data() + sql.size(); ++tail)
        if (*tail != ';' && !std::isspace(static_cast<unsigned char>(*tail)))
        {
            m_handle.reset();
            return false;
        }
    return true;
}

void CSqliteStatement::Reset()
{
    if (!m_handle)
        return;
    sqlite3_reset(m_handle.get());
    sqlite3_clear_bindings(m_handle.get());
}

bool CSqliteStatement::BindInt(int index, int64_t value)
{
    return m_handle && sqlite3_bind_int64(m_handle.get(), index, value) == SQLITE_OK;
}

bool CSqliteStatement::BindDouble(int index, double value)
{
    return m_handle && sqlite3_bind_double(m_handle.get(), index, value) == SQLITE_OK;
}

bool CSqliteStatement::BindText(int index, std::string_view utf8)
{
    return m_handle && sqlite3_bind_text64(m_handle.get(), index, utf8.data(), utf8.size(), SQLITE_TRANSIENT,
                                           SQLITE_UTF8) == SQLITE_OK;
}

CSqliteStatement::Step CSqliteStatement::Next()
{
    if (!m_handle)
        return Step::Error;
    switch (sqlite3_step(m_handle.get()))
    {
    case SQLITE_ROW:
        return Step::Row;
    case SQLITE_DONE:
        return Step::Done;
    default:
        return Step::Error;
    }
}

bool CSqliteStatement::Run()
{
    Step step = Next();
    while (step == Step::Row)
        step = Next();
    return step == Step::Done;
}

int CSqliteStatement::ColumnCount() const
{
    return m_handle ? sqlite3_column_count(m_handle.get()) : 0;
}

int64_t CSqliteStatement::ColumnInt(int index) const
{
    return sqlite3_column_int64(m_handle.get(), index);
}

double CSqliteStatement::ColumnDouble(int index) const
{
    return sqlite3_column_double(m_handle.get(), index);
}

std::string CSqliteStatement::ColumnText(int index) const
{
    const unsigned char* text = sqlite3_column_text(m_handle.get(), index);
    if (text == nullptr)
        return {};
    return std::string(reinterpret_cast<const char*>(text),
                       static_cast<size_t>(sqlite3_column_bytes(m_handle.get(), index)));
}

std::string CSqliteStatement::ColumnName(int index) const
{
    const char* name = m_handle ? sqlite3_column_name(m_handle.get(), index) : nullptr;
    return name ? name : "";
}
