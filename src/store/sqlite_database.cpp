#include "store/sqlite_database.h"

#include <sqlite3.h>

namespace
{

// A writer that finds the file locked by someone else gives up after this long rather than
// holding up a page.
constexpr int kBusyTimeoutMs = 200;

} // namespace

void CSqliteDatabase::Closer::operator()(sqlite3* handle) const
{
    // _v2 defers the close while a statement is still alive instead of failing.
    sqlite3_close_v2(handle);
}

CSqliteDatabase::~CSqliteDatabase() = default;

bool CSqliteDatabase::Open(const std::string& path, bool create)
{
    Close();
    sqlite3* raw = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_NOMUTEX;
    const int result = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
    std::unique_ptr<sqlite3, Closer> handle(raw);
    if (result != SQLITE_OK)
        return false;
    sqlite3_busy_timeout(raw, kBusyTimeoutMs);
    sqlite3_extended_result_codes(raw, 1);
    // The file is a cache for one run and deleted at exit: durability buys nothing here. Pages read
    // through a mapping of the file skip a copy per page on every list refresh. Reading the schema
    // proves the file is a database (a foreign file opens but fails here).
    if (sqlite3_exec(raw,
                     "PRAGMA journal_mode=MEMORY;PRAGMA synchronous=OFF;PRAGMA mmap_size=268435456;"
                     "PRAGMA temp_store=MEMORY;SELECT count(*) FROM sqlite_master",
                     nullptr, nullptr, nullptr) != SQLITE_OK)
        return false;
    m_handle = std::move(handle);
    return true;
}

void CSqliteDatabase::Close()
{
    m_handle.reset();
}

bool CSqliteDatabase::Execute(std::string_view sql)
{
    if (!m_handle)
        return false;
    const std::string text(sql);
    return sqlite3_exec(m_handle.get(), text.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

int64_t CSqliteDatabase::Changes() const
{
    return m_handle ? sqlite3_changes64(m_handle.get()) : 0;
}

std::string CSqliteDatabase::LastError() const
{
    return m_handle ? sqlite3_errmsg(m_handle.get()) : "not open";
}
