// The SQL of the page queries: sort columns, the literal search over the searched columns, and the
// statements that count the matching devices and read one page of them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The ap_info column of a device sort code: 0 mac, 1 ip_num, 2 ap_name, 3 ap_type, 4 work_mode,
// 5 ssid, 6 channel, 7 secure_mode, 8 tx_power, 9 version, 10 bridge_transparent, 11 tdmaEn,
// 12 up_time, 13 ap_status. Any other code has none.
std::optional<std::string_view> DeviceSortColumn(int sortCode);

// The ap_other_info column of a survey sort code: 0 mac, 1 ssid, 2 channel, 3 secure_mode, 4 signal.
std::optional<std::string_view> SurveySortColumn(int sortCode);

// The LIKE pattern (with ESCAPE '\') that finds the text anywhere in a value, literally: a %, _ or
// \ typed in the search box is just that character.
std::string SearchPattern(std::string_view utf8);

// The search over the 14 searched columns, every one compared with parameter ?1.
std::string DeviceSearchCondition();

// " order by <column> asc|desc" with insertion order breaking ties, so that consecutive pages
// neither repeat nor skip a row. Text columns sort without regard to letter case.
std::string SortClause(std::string_view table, std::string_view column, bool ascending);

// The statements of one page query. ?1 is the search pattern (only with a search), ?2 the page
// size and ?3 the number of rows before the page.
struct device_page_sql
{
    std::string count;       // one row: matching devices, matching devices that are not offline
    std::string page;        // every column of the page's rows, in order
    std::string countedPage; // the same, each row followed by the two numbers of count
    std::string fullScan;    // every column of every matching row, in the same order
};

device_page_sql DevicePageSql(std::string_view sortColumn, bool ascending, bool withSearch);

// "ap_info.ID,ap_info.mac,...": every ap_info column in table order.
const std::string& DeviceSelectList();

// "ID,packet_count,...": every ap_other_info column in table order.
const std::string& SurveySelectList();
