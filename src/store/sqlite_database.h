// One SQLite connection: opened on a file, closed by its owner, never letting an error escape.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;

class CSqliteDatabase
{
public:
    CSqliteDatabase() = default;
    ~CSqliteDatabase();
    CSqliteDatabase(const CSqliteDatabase&) = delete;
    CSqliteDatabase& operator=(const CSqliteDatabase&) = delete;

    // Opens the file read-write (creating it when create is set) and checks that it is a
    // database; the per-run settings are applied. False leaves the connection closed.
    bool Open(const std::string& path, bool create);
    bool IsOpen() const { return m_handle != nullptr; }
    void Close();

    // Runs one or more statements that return no rows.
    bool Execute(std::string_view sql);

    // Rows changed by the last INSERT, UPDATE or DELETE.
    int64_t Changes() const;
    std::string LastError() const;

    sqlite3* Handle() const { return m_handle.get(); }

private:
    struct Closer
    {
        void operator()(sqlite3* handle) const;
    };

    std::unique_ptr<sqlite3, Closer> m_handle;
};
