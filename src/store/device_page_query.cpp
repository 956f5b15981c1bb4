#include "store/device_page_query.h"

#include <array>

#include "store/store_schema.h"

namespace
{

constexpr std::array<std::string_view, 14> kDeviceSortColumns = {
    "mac",     "ip_num",      "ap_name",  "ap_type", "work_mode",          "ssid",
    "channel", "secure_mode", "tx_power", "version", "bridge_transparent", "tdmaEn",
    "up_time", "ap_status",
};

constexpr std::array<std::string_view, 5> kSurveySortColumns = {"mac", "ssid", "channel", "secure_mode", "signal"};

// The device search as the list pages define it, each %s standing for the typed text.
constexpr std::string_view kSearchConditionFormat =
    "where ap_info.ap_name like '%%%s%%' or ap_info.ip like '%%%s%%' or ap_info.mac like '%%%s%%' or ap_info.ssid "
    "like '%%%s%%' or ap_info.version like '%%%s%%' or ap_info.work_mode_str like '%%%s%%' or ap_info.channel like "
    "'%%%s%%' or ap_info.ap_type_str like '%%%s%%' or ap_info.tx_power like '%%%s%%' or "
    "ap_info.bridge_transparent_str like '%%%s%%' or ap_info.tdmaEn_str like '%%%s%%' or ap_info.up_time_str like "
    "'%%%s%%' or ap_info.ap_status_str like '%%%s%%' or ap_info.secure_mode_str like '%%%s%%'";

bool IsTextColumn(std::string_view column)
{
    return column == "mac" || column == "ap_name" || column == "ssid" || column == "version";
}

std::string ReplaceAll(std::string text, std::string_view marker, std::string_view replacement)
{
    for (size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at + replacement.size()))
        text.replace(at, marker.size(), replacement);
    return text;
}

std::string BuildSelectList(const char* const* names, size_t count, std::string_view prefix)
{
    std::string list;
    for (size_t i = 0; i < count; ++i)
    {
        if (i > 0)
            list += ',';
        list += prefix;
        list += names[i];
    }
    return list;
}

} // namespace

std::optional<std::string_view> DeviceSortColumn(int sortCode)
{
    if (sortCode < 0 || sortCode >= static_cast<int>(kDeviceSortColumns.size()))
        return std::nullopt;
    return kDeviceSortColumns[static_cast<size_t>(sortCode)];
}

std::optional<std::string_view> SurveySortColumn(int sortCode)
{
    if (sortCode < 0 || sortCode >= static_cast<int>(kSurveySortColumns.size()))
        return std::nullopt;
    return kSurveySortColumns[static_cast<size_t>(sortCode)];
}

std::string SearchPattern(std::string_view utf8)
{
    std::string pattern = "%";
    for (char c : utf8)
    {
        if (c == '%' || c == '_' || c == '\\')
            pattern += '\\';
        pattern += c;
    }
    return pattern + "%";
}

std::string DeviceSearchCondition()
{
    return ReplaceAll(std::string(kSearchConditionFormat), "'%%%s%%'", "?1 escape '\\'");
}

std::string SortClause(std::string_view table, std::string_view column, bool ascending)
{
    const std::string prefix = table.empty() ? std::string() : std::string(table) + ".";
    return " order by " + prefix + std::string(column) + (IsTextColumn(column) ? " collate nocase" : "") +
           (ascending ? " asc" : " desc") + ", " + prefix + "ID asc";
}

device_page_sql DevicePageSql(std::string_view sortColumn, bool ascending, bool withSearch)
{
    const std::string condition = withSearch ? " " + DeviceSearchCondition() : std::string();
    const std::string order = SortClause("ap_info", sortColumn, ascending);
    device_page_sql sql;
    sql.count = "select count(*), coalesce(sum(ap_info.ap_status<>0),0) from ap_info" + condition;
    // Only the row ids go through the sort; the page's full rows are read afterwards.
    sql.page = "select " + DeviceSelectList() + " from ap_info where ap_info.ID in (select ap_info.ID from ap_info" +
               condition + order + " limit ?2 offset ?3)" + order;
    // The search's comparisons cost the most: this form counts on the same pass over the rows.
    sql.countedPage = "select " + DeviceSelectList() +
                      ",page.matching,page.online from ap_info join (select ap_info.ID as page_id,count(*) over () "
                      "as matching,coalesce(sum(ap_info.ap_status<>0) over (),0) as online from ap_info" +
                      condition + order + " limit ?2 offset ?3) as page on ap_info.ID=page.page_id" + order;
    sql.fullScan = "select " + DeviceSelectList() + " from ap_info" + condition + order;
    return sql;
}

const std::string& DeviceSelectList()
{
    static const std::string list = BuildSelectList(kApInfoColumnNames.data(), kApInfoColumnNames.size(), "ap_info.");
    return list;
}

const std::string& SurveySelectList()
{
    static const std::string list = BuildSelectList(kApOtherInfoColumnNames.data(), kApOtherInfoColumnNames.size(), "");
    return list;
}
