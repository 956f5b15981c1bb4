#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "store/sql_management.h"
#include "store/sqlite_database.h"
#include "store/sqlite_statement.h"

namespace
{

int64_t CountRows(const std::string& path, const std::string& table)
{
    CSqliteDatabase database;
    if (!database.Open(path, false))
        return -1;
    CSqliteStatement count;
    if (!count.Prepare(database, "SELECT COUNT(*) FROM " + table) || count.Next() != CSqliteStatement::Step::Row)
        return -1;
    return count.ColumnInt(0);
}

} // namespace

TEST(StoreLifecycle, FileExistsWhileTheStoreLivesAndIsGoneAfter)
{
    CTempDir directory;
    const std::string path = directory.Path() + "data.mdb";
    {
        CSqlManagement store(directory.Path());
        EXPECT_EQ(store.DatabasePath(), path);
        EXPECT_TRUE(std::filesystem::exists(path));
        EXPECT_TRUE(store.IsUsable());
    }
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(std::filesystem::exists(path + "-journal"));
}

TEST(StoreLifecycle, LeftoversOfACrashedRunAreReplaced)
{
    struct Case
    {
        const char* name;
        void (*make)(const std::string& path);
    };
    const Case cases[] = {
        {"foreign bytes", [](const std::string& path) { WriteTextFile(path, "not a database at all"); }},
        {"old store with rows",
         [](const std::string& path)
         {
             CSqliteDatabase old;
             ASSERT_TRUE(old.Open(path, true));
             ASSERT_TRUE(old.Execute("CREATE TABLE ap_info(ID INTEGER PRIMARY KEY, mac TEXT);"
                                     "INSERT INTO ap_info(mac) VALUES('00:11:22:33:44:55')"));
         }},
    };
    for (const Case& c : cases)
    {
        CTempDir directory;
        const std::string path = directory.Path() + "data.mdb";
        c.make(path);
        WriteTextFile(path + "-journal", "stale journal");
        CSqlManagement store(directory.Path());
        EXPECT_TRUE(store.IsUsable()) << c.name;
        EXPECT_EQ(CountRows(path, "ap_info"), 0) << c.name;
        EXPECT_EQ(CountRows(path, "ap_other_info"), 0) << c.name;
        EXPECT_FALSE(std::filesystem::exists(path + "-journal")) << c.name;
    }
}

TEST(StoreLifecycle, UnopenableDatabaseLeavesTheStoreUnusable)
{
    CTempDir directory;
    // A directory in the file's place can neither be removed nor opened.
    std::filesystem::create_directory(directory.Path() + "data.mdb");
    CSqlManagement store(directory.Path());
    EXPECT_FALSE(store.IsUsable());
    EXPECT_FALSE(store.ExecuteWithRetry("delete from ap_other_info"));
    EXPECT_STREQ(kDatabaseOpenFailedMessage, "Failed to open database, unable to get data.");
}

TEST(StoreLifecycle, ExecuteWithRetryRunsValidStatementsWithBoundTexts)
{
    CTempDir directory;
    CSqlManagement store(directory.Path());
    EXPECT_TRUE(store.ExecuteWithRetry("insert into ap_other_info(mac, ssid) values(?1, ?2)", {"aa", "it's"}));
    EXPECT_TRUE(store.ExecuteWithRetry("insert into ap_other_info(mac, ssid) values(?1, ?2)", {"bb", "x"}));
    EXPECT_EQ(CountRows(store.DatabasePath(), "ap_other_info"), 2);
    EXPECT_TRUE(store.ExecuteWithRetry("delete from ap_other_info where ssid=?1", {"it's"}));
    EXPECT_EQ(CountRows(store.DatabasePath(), "ap_other_info"), 1);

    EXPECT_FALSE(store.ExecuteWithRetry("delete from no_such_table"));
    EXPECT_FALSE(store.ExecuteWithRetry("delete from ap_other_info; delete from ap_info"));
    EXPECT_EQ(CountRows(store.DatabasePath(), "ap_other_info"), 1);
}
