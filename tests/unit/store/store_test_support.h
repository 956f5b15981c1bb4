// A store on a temporary program directory, and device records to fill it with.
#pragma once

#include <clocale>
#include <cstring>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "link/address_text.h"
#include "link/config_info.h"
#include "store/sql_management.h"
#include "store/sqlite_database.h"
#include "store/sqlite_statement.h"

// "02:00:00:hh:mm:ll" of a device number.
inline std::string TestMac(int number)
{
    char text[18];
    snprintf(text, sizeof(text), "02:00:00:%02x:%02x:%02x", (number >> 16) & 0xff, (number >> 8) & 0xff, number & 0xff);
    return text;
}

// An AP-mode device of model 1 with an address of its own: 10.0.0.1 for device 0, 10.0.0.2 for 1, ...
inline ap_info_stu TestDevice(int number)
{
    ap_info_stu device;
    std::memset(&device, 0, sizeof(device));
    SetInfoMacText(device, TestMac(number));
    device.ap_type = 1;
    ap_config_info& c = device.config;
    c.work_mode = 1;
    c.up_time = static_cast<uint32_t>(number);
    const Ipv4Bytes ip = {10, static_cast<uint8_t>(number / 62500), static_cast<uint8_t>(number / 250 % 250),
                          static_cast<uint8_t>(number % 250 + 1)};
    std::copy(ip.begin(), ip.end(), c.ip);
    c.ap_name.Assign("device " + std::to_string(number));
    c.version.Assign("V1.0." + std::to_string(number));
    c.ssid.Assign("net-" + std::to_string(number));
    c.channel = static_cast<uint8_t>(1 + number % 11);
    c.tx_power = 20;
    const MacBytes wireless = MacTextToBytes(TestMac(number + 0x800000));
    std::copy(wireless.begin(), wireless.end(), c.ssid_mac);
    return device;
}

inline void SetIp(ap_info_stu& device, const std::string& ip)
{
    const Ipv4Bytes bytes = IpTextToBytes(ip);
    std::copy(bytes.begin(), bytes.end(), device.config.ip);
}

class StoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setlocale(LC_ALL, "C.UTF-8");
        m_store = std::make_unique<CSqlManagement>(m_directory.Path());
        ASSERT_TRUE(m_store->IsUsable());
    }

    CSqlManagement& Store() { return *m_store; }

    // One column of the device's row as the file holds it, read on a connection of its own.
    std::string RawColumn(const std::string& mac, const std::string& column, const std::string& table = "ap_info")
    {
        CSqliteDatabase database;
        EXPECT_TRUE(database.Open(m_store->DatabasePath(), false));
        CSqliteStatement query;
        EXPECT_TRUE(query.Prepare(database, "select " + column + " from " + table + " where mac=?1"));
        query.BindText(1, mac);
        return query.Next() == CSqliteStatement::Step::Row ? query.ColumnText(0) : "<no row>";
    }

    int64_t RowCount(const std::string& table)
    {
        CSqliteDatabase database;
        EXPECT_TRUE(database.Open(m_store->DatabasePath(), false));
        CSqliteStatement query;
        EXPECT_TRUE(query.Prepare(database, "select count(*) from " + table));
        return query.Next() == CSqliteStatement::Step::Row ? query.ColumnInt(0) : -1;
    }

    CTempDir m_directory;
    std::unique_ptr<CSqlManagement> m_store;
};
