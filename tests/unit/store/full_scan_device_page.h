// The device page query done the plain way, on a connection of its own: every matching row is
// stepped through in order, the devices that are not offline are counted and the rows of the page
// kept. The reference for the paged query's results and the baseline of its benchmark.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "link/config_info.h"
#include "store/device_page_query.h"
#include "store/sqlite_database.h"
#include "store/sqlite_statement.h"
#include "store/store_records.h"
#include "store/store_schema.h"

struct full_scan_page
{
    bool ran = false;
    std::vector<ap_info_stu> rows;
    int pageCount = 0;
    int onlineCount = 0;
};

class CFullScanDevicePage
{
public:
    explicit CFullScanDevicePage(const std::string& databasePath) { m_database.Open(databasePath, false); }

    full_scan_page Query(int sortCode, int pageSize, int page, bool ascending, const std::string& search)
    {
        full_scan_page result;
        const auto column = DeviceSortColumn(sortCode);
        if (!column || pageSize < 1)
            return result;
        const std::string sql = DevicePageSql(*column, ascending, !search.empty()).fullScan;
        std::unique_ptr<CSqliteStatement>& statement = m_statements[sql];
        if (!statement)
        {
            statement = std::make_unique<CSqliteStatement>();
            if (!statement->Prepare(m_database, sql))
                return result;
        }
        CStatementScope scope(*statement);
        if (!search.empty())
            statement->BindText(1, SearchPattern(search));
        int64_t row = 0;
        const int64_t first = (static_cast<int64_t>(page) - 1) * pageSize;
        while (statement->Next() == CSqliteStatement::Step::Row)
        {
            if (statement->ColumnInt(AP_AP_STATUS) != 0)
                ++result.onlineCount;
            if (row >= first && row < first + pageSize)
                result.rows.push_back(DeviceRecordFromRow(*statement));
            ++row;
        }
        result.pageCount = static_cast<int>(row / pageSize + (row % pageSize != 0 ? 1 : 0));
        result.ran = true;
        return result;
    }

private:
    CSqliteDatabase m_database;
    std::map<std::string, std::unique_ptr<CSqliteStatement>> m_statements;
};
