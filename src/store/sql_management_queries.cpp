// CSqlManagement: the queries of the pages and the device link.
#include <algorithm>
#include <cstring>
#include <functional>

#include "store/device_page_query.h"
#include "store/display_values.h"
#include "store/sql_management.h"
#include "store/store_records.h"
#include "support/text_convert.h"

namespace
{

const std::string& DeviceByMacSql()
{
    static const std::string sql = "select " + DeviceSelectList() + " from ap_info where mac=?1 order by ID limit 1";
    return sql;
}

const std::string& FirstDeviceSql()
{
    static const std::string sql = "select " + DeviceSelectList() + " from ap_info order by ID limit 1";
    return sql;
}

const std::string& SurveyByMacSql()
{
    static const std::string sql =
        "select " + SurveySelectList() + " from ap_other_info where mac=?1 order by ID limit 1";
    return sql;
}

} // namespace

bool CSqlManagement::QueryDevicePage(int sortCode, std::vector<ap_info_stu>& list, int& pageCount, int& onlineCount,
                                     int pageSize, int page, bool ascending, const std::string& search)
{
    const std::optional<std::string_view> column = DeviceSortColumn(sortCode);
    if (!column || pageSize < 1)
        return false;
    const bool withSearch = !search.empty();
    const std::string pattern = withSearch ? SearchPattern(LocalToUtf8(search)) : std::string();
    const device_page_sql sql = DevicePageSql(*column, ascending, withSearch);

    const int64_t skipped = (static_cast<int64_t>(page) - 1) * pageSize;
    // Without a search, counting is a cheap pass of its own; a search counts while it reads the page.
    const bool countWithPage = withSearch && page >= 1;
    std::vector<ap_info_stu> rows;
    int64_t matching = 0;
    int64_t online = 0;

    std::lock_guard guard(m_lock);
    if (!countWithPage && !CountDevices(sql.count, pattern, matching, online))
        return false;
    if (page >= 1 && (countWithPage || skipped < matching))
    {
        CSqliteStatement* read = Statement(countWithPage ? sql.countedPage : sql.page);
        if (read == nullptr)
            return false;
        CStatementScope scope(*read);
        if ((withSearch && !read->BindText(1, pattern)) || !read->BindInt(2, pageSize) || !read->BindInt(3, skipped))
            return false;
        rows.reserve(static_cast<size_t>(std::min(pageSize, 256)));
        CSqliteStatement::Step step;
        while ((step = read->Next()) == CSqliteStatement::Step::Row)
        {
            rows.push_back(DeviceRecordFromRow(*read));
            if (countWithPage)
            {
                matching = read->ColumnInt(AP_COLUMN_COUNT);
                online = read->ColumnInt(AP_COLUMN_COUNT + 1);
            }
        }
        if (step != CSqliteStatement::Step::Done)
            return false;
    }
    // A page past the end has no row that carries the counts.
    if (countWithPage && rows.empty() && page > 1 && !CountDevices(sql.count, pattern, matching, online))
        return false;

    list.insert(list.end(), rows.begin(), rows.end());
    pageCount = static_cast<int>(matching / pageSize + (matching % pageSize != 0 ? 1 : 0));
    onlineCount += static_cast<int>(online);
    return true;
}

bool CSqlManagement::CountDevices(const std::string& sql, const std::string& pattern, int64_t& matching,
                                  int64_t& online)
{
    CSqliteStatement* count = Statement(sql);
    if (count == nullptr)
        return false;
    CStatementScope scope(*count);
    if ((!pattern.empty() && !count->BindText(1, pattern)) || count->Next() != CSqliteStatement::Step::Row)
        return false;
    matching = count->ColumnInt(0);
    online = count->ColumnInt(1);
    return true;
}

bool CSqlManagement::GetDeviceByMac(const std::string& mac, ap_info_stu& record)
{
    std::memset(&record, 0, sizeof(record));
    const std::string macText = LocalToUtf8(mac);
    std::lock_guard guard(m_lock);
    CSqliteStatement* query = Statement(mac.empty() ? FirstDeviceSql() : DeviceByMacSql());
    if (query == nullptr)
        return false;
    CStatementScope scope(*query);
    if (!mac.empty() && !query->BindText(1, macText))
        return false;
    switch (query->Next())
    {
    case CSqliteStatement::Step::Row:
        record = DeviceRecordFromRow(*query);
        return true;
    case CSqliteStatement::Step::Done:
        return true;
    default:
        return false;
    }
}

namespace
{

bool ListColumn(CSqliteStatement* query, std::vector<std::string>& texts)
{
    if (query == nullptr)
        return false;
    CStatementScope scope(*query);
    std::vector<std::string> found;
    CSqliteStatement::Step step;
    while ((step = query->Next()) == CSqliteStatement::Step::Row)
        found.push_back(Utf8ToLocal(TrimText(query->ColumnText(0))));
    if (step != CSqliteStatement::Step::Done)
        return false;
    texts.insert(texts.end(), found.begin(), found.end());
    return true;
}

} // namespace

bool CSqlManagement::ListDeviceIps(std::vector<std::string>& ips)
{
    std::lock_guard guard(m_lock);
    return ListColumn(Statement("select ip from ap_info order by ID"), ips);
}

bool CSqlManagement::ListDeviceMacs(std::vector<std::string>& macs)
{
    std::lock_guard guard(m_lock);
    return ListColumn(Statement("select mac from ap_info order by ID"), macs);
}

bool CSqlManagement::QuerySurveyList(int sortCode, bool ascending, std::vector<config_otherwl_basic>& list)
{
    const std::optional<std::string_view> column = SurveySortColumn(sortCode);
    if (!column)
        return false;
    const std::string sql = "select " + SurveySelectList() + " from ap_other_info" + SortClause("", *column, ascending);

    std::lock_guard guard(m_lock);
    CSqliteStatement* query = Statement(sql);
    if (query == nullptr)
        return false;
    CStatementScope scope(*query);
    std::vector<config_otherwl_basic> found;
    CSqliteStatement::Step step;
    while ((step = query->Next()) == CSqliteStatement::Step::Row)
        found.push_back(SurveyEntryFromRow(*query));
    if (step != CSqliteStatement::Step::Done)
        return false;
    list.insert(list.end(), found.begin(), found.end());
    return true;
}

bool CSqlManagement::GetSurveyEntry(const std::string& mac, config_otherwl_basic& entry)
{
    std::memset(&entry, 0, sizeof(entry));
    const std::string macText = LocalToUtf8(mac);
    std::lock_guard guard(m_lock);
    CSqliteStatement* query = Statement(SurveyByMacSql());
    if (query == nullptr)
        return false;
    CStatementScope scope(*query);
    if (!query->BindText(1, macText))
        return false;
    switch (query->Next())
    {
    case CSqliteStatement::Step::Row:
        entry = SurveyEntryFromRow(*query);
        return true;
    case CSqliteStatement::Step::Done:
        return true;
    default:
        return false;
    }
}

bool CSqlManagement::QueryFirstRow(std::string_view sql, std::initializer_list<std::string_view> parameters,
                                   const std::function<void(const CSqliteStatement&)>& read)
{
    CSqliteStatement* query = Statement(sql);
    if (query == nullptr)
        return false;
    CStatementScope scope(*query);
    int index = 1;
    for (std::string_view parameter : parameters)
        if (!query->BindText(index++, parameter))
            return false;
    if (query->Next() != CSqliteStatement::Step::Row)
        return false;
    if (read)
        read(*query);
    return true;
}

int CSqlManagement::GetDeviceStatus(const std::string& mac)
{
    const std::string macText = LocalToUtf8(mac);
    std::lock_guard guard(m_lock);
    int status = 0;
    QueryFirstRow("select ap_status from ap_info where mac=?1 order by ID limit 1", {macText},
                  [&status](const CSqliteStatement& row) { status = static_cast<int32_t>(row.ColumnInt(0)); });
    return status;
}

bool CSqlManagement::IsUpgradeWaiting(const std::string& mac)
{
    const std::string macText = LocalToUtf8(mac);
    std::lock_guard guard(m_lock);
    // 6: Upgrade wait.
    return QueryFirstRow("select ID from ap_info where mac=?1 and ap_status=6 limit 1", {macText}, nullptr);
}

// Work mode 2 below is Station.

bool CSqlManagement::HasBridgedStations(const std::string& mac)
{
    const std::string macText = LocalToUtf8(mac);
    std::lock_guard guard(m_lock);
    std::string ssidMac;
    if (!QueryFirstRow("select ssid_mac from ap_info where mac=?1 order by ID limit 1", {macText},
                       [&ssidMac](const CSqliteStatement& row) { ssidMac = TrimText(row.ColumnText(0)); }))
        return false;
    return QueryFirstRow("select ID from ap_info where work_mode=2 and bridge_mac=?1 limit 1", {ssidMac}, nullptr);
}

bool CSqlManagement::FindBridgePeer(const std::string& mac, std::string& peerMac)
{
    const std::string macText = LocalToUtf8(mac);
    std::lock_guard guard(m_lock);
    int64_t workMode = 0;
    std::string ssidMac;
    std::string bridgeMac;
    if (!QueryFirstRow("select work_mode,ssid_mac,bridge_mac from ap_info where mac=?1 order by ID limit 1", {macText},
                       [&](const CSqliteStatement& row)
                       {
                           workMode = row.ColumnInt(0);
                           ssidMac = TrimText(row.ColumnText(1));
                           bridgeMac = TrimText(row.ColumnText(2));
                       }))
        return false;
    std::string peer;
    const auto readPeer = [&peer](const CSqliteStatement& row) { peer = TrimText(row.ColumnText(0)); };
    const bool found =
        workMode == 2
            // A station's partner is the device whose wireless MAC is the station's bridge MAC.
            ? QueryFirstRow("select mac from ap_info where work_mode<>2 and ssid_mac=?1 order by ID limit 1",
                            {bridgeMac}, readPeer)
            // Anything else: the first station bridged to it.
            : QueryFirstRow("select mac from ap_info where work_mode=2 and bridge_mac=?1 order by ID limit 1",
                            {ssidMac}, readPeer);
    if (!found)
        return false;
    peerMac = Utf8ToLocal(peer);
    return true;
}
