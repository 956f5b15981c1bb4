#include "store/sql_management.h"

#include <unistd.h>

#include "store/store_schema.h"
#include "support/log.h"
#include "support/program_dir.h"

namespace
{

constexpr int kExecuteAttempts = 3;

std::string DatabasePathIn(const std::string& directory)
{
    if (directory.empty())
        return kDatabaseFileName;
    return directory + (directory.back() == '/' ? "" : "/") + kDatabaseFileName;
}

bool FileExists(const std::string& path)
{
    return access(path.c_str(), F_OK) == 0;
}

} // namespace

CSqlManagement& CSqlManagement::GetInstance()
{
    static CSqlManagement store(GetProgramDirectory());
    return store;
}

CSqlManagement::CSqlManagement(const std::string& programDirectory) : m_path(DatabasePathIn(programDirectory))
{
    // A file left by a run that ended without its shutdown starts this run empty. A journal left
    // beside it would be replayed into the new file, so it goes too.
    unlink(m_path.c_str());
    unlink((m_path + "-journal").c_str());

    // A file that could not be removed is opened as it is.
    if (!FileExists(m_path))
        SetUpSchema();

    std::lock_guard guard(m_lock);
    if (!m_database.Open(m_path, false))
        LOG_ERROR("%s (%s)", kDatabaseOpenFailedMessage, m_path.c_str());
}

CSqlManagement::~CSqlManagement()
{
    CloseDatabase();
    unlink(m_path.c_str());
}

void CSqlManagement::SetUpSchema()
{
    {
        std::lock_guard guard(m_lock);
        if (!m_database.Open(m_path, true))
            return;
    }
    // Each statement's result is ignored: a table that could not be made shows as failing queries.
    for (const char* statement : SchemaStatements())
        for (const std::string& sql : TranslateSchemaStatement(statement))
            ExecuteWithRetry(sql);
    for (const char* sql : IndexStatements())
        ExecuteWithRetry(sql);
    CloseDatabase();
}

void CSqlManagement::CloseDatabase()
{
    std::lock_guard guard(m_lock);
    m_statements.clear();
    m_database.Close();
}

bool CSqlManagement::IsUsable()
{
    std::lock_guard guard(m_lock);
    return m_database.IsOpen();
}

CSqliteStatement* CSqlManagement::Statement(std::string_view sql)
{
    if (!m_database.IsOpen())
        return nullptr;
    const std::string key(sql);
    auto found = m_statements.find(key);
    if (found == m_statements.end())
    {
        auto statement = std::make_unique<CSqliteStatement>();
        if (!statement->Prepare(m_database, sql))
            return nullptr;
        found = m_statements.emplace(key, std::move(statement)).first;
    }
    found->second->Reset();
    return found->second.get();
}

bool CSqlManagement::ExecuteWithRetry(std::string_view sql, std::initializer_list<std::string_view> parameters)
{
    for (int attempt = 0; attempt < kExecuteAttempts; ++attempt)
    {
        std::lock_guard guard(m_lock);
        CSqliteStatement* statement = Statement(sql);
        if (statement == nullptr)
        {
            if (!m_database.IsOpen())
                return false;
            continue;
        }
        CStatementScope scope(*statement);
        int index = 1;
        bool bound = true;
        for (std::string_view parameter : parameters)
            bound = statement->BindText(index++, parameter) && bound;
        if (bound && statement->Run())
            return true;
    }
    return false;
}
