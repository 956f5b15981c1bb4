#include "store/store_schema.h"

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "store/sql_management.h"
#include "store/sqlite_database.h"
#include "store/sqlite_statement.h"

namespace
{

// Name and declared type of every column of a table, in table order, read from the file itself.
std::vector<std::pair<std::string, std::string>> TableColumns(const std::string& path, const std::string& table)
{
    CSqliteDatabase database;
    EXPECT_TRUE(database.Open(path, false));
    CSqliteStatement statement;
    EXPECT_TRUE(statement.Prepare(database, "PRAGMA table_info(" + table + ")"));
    std::vector<std::pair<std::string, std::string>> columns;
    while (statement.Next() == CSqliteStatement::Step::Row)
        columns.emplace_back(statement.ColumnText(1), statement.ColumnText(2));
    return columns;
}

} // namespace

TEST(StoreSchema, TablesHaveEveryColumnInOrder)
{
    CTempDir directory;
    CSqlManagement store(directory.Path());
    ASSERT_TRUE(store.IsUsable());

    const auto apInfo = TableColumns(store.DatabasePath(), "ap_info");
    ASSERT_EQ(apInfo.size(), 76u);
    for (size_t i = 0; i < apInfo.size(); ++i)
        EXPECT_EQ(apInfo[i].first, kApInfoColumnNames[i]) << i;
    EXPECT_EQ(apInfo.front().first, "ID");
    EXPECT_EQ(apInfo.back().first, "wl_dfs");
    // Spot checks of the type mapping: auto-number, 32-bit number, double, fixed text.
    EXPECT_EQ(apInfo[AP_ID].second, "INTEGER");
    EXPECT_EQ(apInfo[AP_AP_TYPE].second, "INTEGER");
    EXPECT_EQ(apInfo[AP_IP_NUM].second, "REAL");
    EXPECT_EQ(apInfo[AP_MAC].second, "char(18)");
    EXPECT_EQ(apInfo[AP_WPA_KEY].second, "char(65)");
    EXPECT_EQ(apInfo[AP_BRIDGE_MAC].second, "char(18)");

    const auto other = TableColumns(store.DatabasePath(), "ap_other_info");
    ASSERT_EQ(other.size(), 11u);
    for (size_t i = 0; i < other.size(); ++i)
        EXPECT_EQ(other[i].first, kApOtherInfoColumnNames[i]) << i;
}

TEST(StoreSchema, BothTablesAreIndexedByMac)
{
    CTempDir directory;
    CSqlManagement store(directory.Path());
    CSqliteDatabase database;
    ASSERT_TRUE(database.Open(store.DatabasePath(), false));
    for (const char* table : {"ap_info", "ap_other_info"})
    {
        CSqliteStatement plan;
        ASSERT_TRUE(plan.Prepare(database, std::string("EXPLAIN QUERY PLAN SELECT * FROM ") + table + " WHERE mac=?1"));
        ASSERT_EQ(plan.Next(), CSqliteStatement::Step::Row);
        EXPECT_NE(plan.ColumnText(3).find("USING INDEX"), std::string::npos) << table << ": " << plan.ColumnText(3);
    }
}

TEST(StoreSchema, AlterOfSeveralColumnsBecomesOneStatementPerColumn)
{
    // The blanks after the commas are part of the statement text.
    const std::vector<std::string> expected = {
        "ALTER TABLE ap_info ADD COLUMN bridge_work_mode INTEGER",
        "ALTER TABLE ap_info ADD COLUMN bridge_mac char(18)",
        "ALTER TABLE ap_info ADD COLUMN bridge_channel INTEGER",
        "ALTER TABLE ap_info ADD COLUMN bridge_ssid char(33)",
    };
    EXPECT_EQ(TranslateSchemaStatement(SchemaStatements()[4]), expected);
    EXPECT_EQ(TranslateSchemaStatement("CREATE TABLE t(ID Counter,n double)"),
              std::vector<std::string>{"CREATE TABLE t(ID INTEGER PRIMARY KEY,n REAL)"});
    EXPECT_TRUE(TranslateSchemaStatement("ALTER TABLE t ADD x varchar").empty());
    EXPECT_TRUE(TranslateSchemaStatement("DROP TABLE t").empty());
}
