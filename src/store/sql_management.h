// The device store: the per-run database data.mdb of the devices and surveyed access points that
// the engine writes and every page reads. One process-wide object; every operation holds the store
// lock for its whole run.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

#include "store/sqlite_database.h"
#include "store/sqlite_statement.h"

// The language key shown when the database cannot be opened; the store then stays unusable.
constexpr const char* kDatabaseOpenFailedMessage = "Failed to open database, unable to get data.";

class CSqlManagement
{
public:
    // The process-wide store in the program directory, constructed on the first call.
    static CSqlManagement& GetInstance();

    // Removes <programDirectory>data.mdb, creates it anew with its tables and opens it. When it
    // cannot be opened the store is unusable: every operation fails and does nothing.
    explicit CSqlManagement(const std::string& programDirectory);
    // Closes the database and removes the file.
    ~CSqlManagement();
    CSqlManagement(const CSqlManagement&) = delete;
    CSqlManagement& operator=(const CSqlManagement&) = delete;

    // False in the unusable state: front ends then show kDatabaseOpenFailedMessage.
    bool IsUsable();
    const std::string& DatabasePath() const { return m_path; }

    // Runs one statement that returns no rows, up to three times until it succeeds. Parameters
    // are texts in UTF-8, bound to ?1, ?2, ...
    bool ExecuteWithRetry(std::string_view sql, std::initializer_list<std::string_view> parameters = {});

private:
    void SetUpSchema();
    // The prepared statement of the text, reset and ready; null when it cannot be prepared.
    // Only under m_lock.
    CSqliteStatement* Statement(std::string_view sql);
    void CloseDatabase();

    std::string m_path;
    std::mutex m_lock;
    CSqliteDatabase m_database;
    // Prepared once per text and reused; destroyed before the connection.
    std::unordered_map<std::string, std::unique_ptr<CSqliteStatement>> m_statements;
};
