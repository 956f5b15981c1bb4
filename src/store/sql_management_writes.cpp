// CSqlManagement: the writes of device rows, survey rows, heartbeats and statuses.
#include <optional>

#include "store/display_values.h"
#include "store/sql_management.h"
#include "store/store_records.h"
#include "support/text_convert.h"

namespace
{

// Every column but ID, each bound to the parameter of its index.
std::string InsertSql(const char* table, const char* const* names, size_t count)
{
    std::string sql = std::string("insert into ") + table + "(";
    std::string values;
    for (size_t i = 1; i < count; ++i)
    {
        sql += (i > 1 ? "," : "") + std::string(names[i]);
        values += (i > 1 ? ",?" : "?") + std::to_string(i);
    }
    sql += ") values(" + values + ")";
    return sql;
}

// Every column but ID, then "where ID=?<count>".
std::string UpdateSql(const char* table, const char* const* names, size_t count)
{
    std::string sql = std::string("update ") + table + " set ";
    for (size_t i = 1; i < count; ++i)
        sql += (i > 1 ? "," : "") + std::string(names[i]) + "=?" + std::to_string(i);
    return sql + " where ID=?" + std::to_string(count);
}

const std::string& InsertDeviceSql()
{
    static const std::string sql = InsertSql("ap_info", kApInfoColumnNames.data(), AP_COLUMN_COUNT);
    return sql;
}

const std::string& UpdateDeviceSql()
{
    static const std::string sql = UpdateSql("ap_info", kApInfoColumnNames.data(), AP_COLUMN_COUNT);
    return sql;
}

const std::string& InsertSurveySql()
{
    static const std::string sql = InsertSql("ap_other_info", kApOtherInfoColumnNames.data(), OTHER_COLUMN_COUNT);
    return sql;
}

const std::string& UpdateSurveySql()
{
    static const std::string sql = UpdateSql("ap_other_info", kApOtherInfoColumnNames.data(), OTHER_COLUMN_COUNT);
    return sql;
}

constexpr const char* kFindDevice = "select ID from ap_info where mac=?1 order by ID limit 1";
constexpr const char* kFindSurvey = "select ID from ap_other_info where mac=?1 order by ID limit 1";

// The row id of the first row the find statement gives for the MAC: nullopt without a row,
// false when the statement fails.
bool FindRowId(CSqliteStatement& find, const std::string& mac, std::optional<int64_t>& id)
{
    CStatementScope scope(find);
    if (!find.BindText(1, mac))
        return false;
    switch (find.Next())
    {
    case CSqliteStatement::Step::Row:
        id = find.ColumnInt(0);
        return true;
    case CSqliteStatement::Step::Done:
        id.reset();
        return true;
    default:
        return false;
    }
}

} // namespace

bool CSqlManagement::SaveDeviceConfig(const ap_info_stu& record)
{
    // The display texts are looked up before the lock, which then guards only the database.
    const device_row_values row = DeviceRecordToRow(record);
    const std::string& mac = std::get<std::string>(row[AP_MAC]);

    std::lock_guard guard(m_lock);
    CSqliteStatement* find = Statement(kFindDevice);
    std::optional<int64_t> id;
    if (find == nullptr || !FindRowId(*find, mac, id))
        return false;
    CSqliteStatement* write = Statement(id ? UpdateDeviceSql() : InsertDeviceSql());
    if (write == nullptr)
        return false;
    CStatementScope scope(*write);
    if (!BindRowValues(*write, row) || (id && !write->BindInt(AP_COLUMN_COUNT, *id)))
        return false;
    return write->Run();
}

bool CSqlManagement::SaveSurveyReport(const ap_survey_info& report)
{
    const size_t count = std::min<size_t>(report.icount, kSurveyMaxEntries);
    std::vector<survey_row_values> rows;
    rows.reserve(count);
    for (size_t i = 0; i < count; ++i)
        rows.push_back(SurveyEntryToRow(report, report.entries[i]));

    std::lock_guard guard(m_lock);
    if (!m_database.IsOpen() || rows.empty())
        return true;
    // One transaction for the datagram: one write of the file instead of one per entry.
    const bool inTransaction = m_database.Execute("begin");
    for (const survey_row_values& row : rows)
    {
        CSqliteStatement* find = Statement(kFindSurvey);
        std::optional<int64_t> id;
        if (find == nullptr || !FindRowId(*find, std::get<std::string>(row[OTHER_MAC]), id))
            continue;
        CSqliteStatement* write = Statement(id ? UpdateSurveySql() : InsertSurveySql());
        if (write == nullptr)
            continue;
        CStatementScope scope(*write);
        if (BindRowValues(*write, row) && (!id || write->BindInt(OTHER_COLUMN_COUNT, *id)))
            write->Run();
    }
    if (inTransaction)
        m_database.Execute("commit");
    return true;
}

bool CSqlManagement::UpdateHeartbeat(const std::string& mac, const std::string& ip, uint32_t upTime)
{
    const std::string macText = LocalToUtf8(mac);
    const std::string ipText = TrimText(LocalToUtf8(ip));
    const std::string upTimeText = LocalToUtf8(UpTimeText(upTime));

    std::lock_guard guard(m_lock);
    CSqliteStatement* update =
        Statement("update ap_info set up_time=?2, up_time_str=?3, ip=?4, ip_num=?5 where mac=?1");
    if (update == nullptr)
        return false;
    CStatementScope scope(*update);
    const bool bound = update->BindText(1, macText) && update->BindInt(2, upTime) && update->BindText(3, upTimeText) &&
                       update->BindText(4, ipText) &&
                       update->BindDouble(5, static_cast<double>(IpTextToNumber(ipText)));
    return bound && update->Run() && m_database.Changes() > 0;
}

bool CSqlManagement::UpdateStatus(const std::string& mac, int status, int requiredStatus)
{
    const std::string macText = LocalToUtf8(mac);
    const std::string statusText = LocalToUtf8(StatusText(status));

    std::lock_guard guard(m_lock);
    CSqliteStatement* update = Statement(
        requiredStatus < 0 ? "update ap_info set ap_status=?2, ap_status_str=?3 where mac=?1"
                           : "update ap_info set ap_status=?2, ap_status_str=?3 where mac=?1 and ap_status=?4");
    if (update == nullptr)
        return false;
    CStatementScope scope(*update);
    bool bound = update->BindText(1, macText) && update->BindInt(2, status) && update->BindText(3, statusText);
    if (requiredStatus >= 0)
        bound = bound && update->BindInt(4, requiredStatus);
    return bound && update->Run() && m_database.Changes() > 0;
}

bool CSqlManagement::SetDeviceStatus(const std::string& mac, int status)
{
    return UpdateStatus(mac, status, -1);
}

bool CSqlManagement::MarkUpgradeStarted(const std::string& mac)
{
    return UpdateStatus(mac, kStatusUpgrading, kStatusUpgradeWait);
}

bool CSqlManagement::ClearUpgradeFailure(const std::string& mac)
{
    return UpdateStatus(mac, kStatusOnline, kStatusUpgradeFail);
}

bool CSqlManagement::DeleteDevice(const std::string& mac)
{
    return ExecuteWithRetry("delete from ap_info where mac=?1", {LocalToUtf8(mac)});
}

bool CSqlManagement::ClearSurveyTable()
{
    return ExecuteWithRetry("delete from ap_other_info");
}
