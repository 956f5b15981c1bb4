// The device store: the per-run database data.mdb of the devices and surveyed access points that
// the engine writes and every page reads. One process-wide object; every operation holds the store
// lock for its whole run.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "link/config_info.h"
#include "link/survey_info.h"
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

    // Writes. Texts (MACs, IPs, the record's texts) are in the locale's codeset. Each returns true
    // when it wrote (or, for the deletes, ran its statement).

    // Stores the device's row, adding it or replacing the one with its MAC, as online.
    bool SaveDeviceConfig(const ap_info_stu& record);
    // Adds or replaces the row of each access point of one survey datagram. Always true.
    bool SaveSurveyReport(const ap_survey_info& report);
    // Up time and address of a device that has a row; false without one.
    bool UpdateHeartbeat(const std::string& mac, const std::string& ip, uint32_t upTime);
    bool SetDeviceStatus(const std::string& mac, int status);
    // Upgrade wait (6) to Upgrading (7); a device in any other status is left alone.
    bool MarkUpgradeStarted(const std::string& mac);
    // Upgrade fail (9) back to Online (1); a device in any other status is left alone.
    bool ClearUpgradeFailure(const std::string& mac);
    bool DeleteDevice(const std::string& mac);
    bool ClearSurveyTable();

    // Queries. Each returns false when the store is unusable or the query cannot run, and then
    // leaves its outputs as they were.

    // One page (from 1) of the devices matching the search text (anywhere in one of the searched
    // columns, taken literally; empty: every device), sorted by the column of sortCode. Appends the
    // page's records to list, sets pageCount and adds the number of matching devices that are not
    // offline to onlineCount. Unknown sort codes and page sizes below 1 run nothing.
    bool QueryDevicePage(int sortCode, std::vector<ap_info_stu>& list, int& pageCount, int& onlineCount, int pageSize,
                         int page, bool ascending, const std::string& search);
    // The device of the MAC (empty: the first device stored); record zeroed when there is none.
    bool GetDeviceByMac(const std::string& mac, ap_info_stu& record);
    bool ListDeviceIps(std::vector<std::string>& ips);
    bool ListDeviceMacs(std::vector<std::string>& macs);
    // The surveyed access points sorted by 0 mac, 1 ssid, 2 channel, 3 secure_mode or 4 signal.
    bool QuerySurveyList(int sortCode, bool ascending, std::vector<config_otherwl_basic>& list);
    bool GetSurveyEntry(const std::string& mac, config_otherwl_basic& entry);
    // The device's status code; 0 without a row.
    int GetDeviceStatus(const std::string& mac);
    bool IsUpgradeWaiting(const std::string& mac);
    // Whether any Station-mode device is bridged to this device's wireless MAC.
    bool HasBridgedStations(const std::string& mac);
    // The MAC of the device's bridge partner: for a Station, the device whose wireless MAC is its
    // bridge MAC; otherwise the first Station bridged to it. peerMac is untouched when there is none.
    bool FindBridgePeer(const std::string& mac, std::string& peerMac);

private:
    void SetUpSchema();
    // The prepared statement of the text, reset and ready; null when it cannot be prepared.
    // Only under m_lock.
    CSqliteStatement* Statement(std::string_view sql);
    void CloseDatabase();
    // Sets status and its text on the device's row, when it is in requiredStatus (any when negative).
    bool UpdateStatus(const std::string& mac, int status, int requiredStatus);
    // The two numbers of a device count statement, with the search pattern (if any). Only under m_lock.
    bool CountDevices(const std::string& sql, const std::string& pattern, int64_t& matching, int64_t& online);
    // Runs a query with text parameters and hands its first row to read; false without a row or
    // when the query fails. Only under m_lock.
    bool QueryFirstRow(std::string_view sql, std::initializer_list<std::string_view> parameters,
                       const std::function<void(const CSqliteStatement&)>& read);

    std::string m_path;
    std::mutex m_lock;
    CSqliteDatabase m_database;
    // Prepared once per text and reused; destroyed before the connection.
    std::unordered_map<std::string, std::unique_ptr<CSqliteStatement>> m_statements;
};
