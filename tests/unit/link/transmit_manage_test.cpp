// The engine's handlers fed with received records: what it sends, keeps and stores.
#include "link/transmit_manage.h"

#include <gtest/gtest.h>

#include "unit/link/engine_fixture.h"

namespace
{

const ap_send_route kFromTool{ApRoute::RequestFromAdapter, "10.77.0.1", "239.255.255.250", 9787};

void ExpectRoute(const SentDatagram& sent, const ap_send_route& route)
{
    EXPECT_EQ(sent.route.route, route.route);
    EXPECT_EQ(sent.route.source_ip, route.source_ip);
    EXPECT_EQ(sent.route.dest_ip, route.dest_ip);
    EXPECT_EQ(sent.route.dest_port, route.dest_port);
}

size_t Count(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

} // namespace

TEST_F(EngineTest, NewDeviceIsAcknowledgedQueriedConfiguredStoredAndItsHeartbeatsAcknowledged)
{
    m_engine->ManageDiscoverPacket(kDeviceA.Discover());
    std::vector<SentDatagram> sent = TakeSent();
    ASSERT_EQ(sent.size(), 2u);
    ExpectRoute(sent[0], kFromTool);
    EXPECT_EQ(sent[0].bytes, ToolDatagram(kMsgDiscover, kDeviceA.mac));
    ExpectRoute(sent[1], kFromTool);
    EXPECT_EQ(sent[1].bytes, ToolDatagram(kMsgConfigQuery, kDeviceA.mac));

    // Pending, waiting for its configuration with the query registered for retransmission.
    std::optional<manage_ap_info> record = Managed(kDeviceA);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->state, kManageApPending);
    EXPECT_EQ(record->ip, "10.77.1.1");
    EXPECT_EQ(record->ap_type, 261);
    EXPECT_EQ(record->ap_name.Str(), "Roof \xc3\xa9 North");
    std::vector<retransmission_info> entries = m_engine->RetransmissionEntries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].msg_type, kMsgConfigQuery);
    EXPECT_EQ(entries[0].remaining, 3);
    EXPECT_EQ(entries[0].mac, kDeviceA.MacText());
    EXPECT_FALSE(Stored(kDeviceA));

    NewLog();
    m_engine->ManageConfigPacket(kDeviceA.ConfigReport());
    const std::string log = NewLog();
    EXPECT_NE(log.find("DeleteManageApRetransmission ip:10.77.1.1, msg_type:2, mac:00:1a:2b:3c:4d:01"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("ip:10.77.1.1--ip_onlien:0--index:-1, mac:00:1a:2b:3c:4d:01--index:0"), std::string::npos)
        << log;
    EXPECT_NE(log.find("msg_type2--configuration exists"), std::string::npos) << log;
    EXPECT_TRUE(m_engine->RetransmissionEntries().empty());
    EXPECT_TRUE(TakeSent().empty());
    EXPECT_EQ(Managed(kDeviceA)->state, kManageApConfigured);
    ap_info_stu stored;
    ASSERT_TRUE(m_store->GetDeviceByMac(kDeviceA.MacText(), stored));
    EXPECT_EQ(int{stored.ap_status}, 1);
    EXPECT_EQ(stored.ap_type, 261);
    EXPECT_EQ(stored.config.ap_name.Str(), "Roof \xc3\xa9 North");
    EXPECT_EQ(stored.config.ssid.Str(), "field-net");

    for (uint32_t upTime : {700u, 710u})
    {
        m_engine->ManageHeartbeatPacket(kDeviceA.Heartbeat(upTime));
        sent = TakeSent();
        ASSERT_EQ(sent.size(), 1u);
        ExpectRoute(sent[0], kFromTool);
        EXPECT_EQ(sent[0].bytes, ToolDatagram(kMsgHeartbeat, kDeviceA.mac));
        ASSERT_TRUE(m_store->GetDeviceByMac(kDeviceA.MacText(), stored));
        EXPECT_EQ(uint32_t{stored.config.up_time}, upTime);
    }
    EXPECT_NE(NewLog().find("SendPacketMutilcast KAVRO_APHeartbeatAck ip:10.77.1.1, mac:00:1a:2b:3c:4d:01"),
              std::string::npos);
}

TEST_F(EngineTest, HeartbeatFromAnUnknownMacIsIgnored)
{
    NewLog();
    m_engine->ManageHeartbeatPacket(kDeviceA.Heartbeat(5));
    EXPECT_TRUE(TakeSent().empty());
    EXPECT_TRUE(m_engine->ManagedDevices().empty());
    EXPECT_EQ(NewLog().find("HeartbeatAck"), std::string::npos);
}

TEST_F(EngineTest, DiscoverReportsOfKnownDevices)
{
    // A pending device is queried at every report; each answer ends one query.
    m_engine->ManageDiscoverPacket(kDeviceA.Discover());
    TakeSent();
    m_engine->ManageDiscoverPacket(kDeviceA.Discover());
    ASSERT_EQ(TakeSent().size(), 2u);
    EXPECT_EQ(m_engine->ManagedDevices().size(), 1u);
    EXPECT_EQ(m_engine->RetransmissionEntries().size(), 2u);
    m_engine->ManageConfigPacket(kDeviceA.ConfigReport());
    m_engine->ManageConfigPacket(kDeviceA.ConfigReport());
    EXPECT_TRUE(m_engine->RetransmissionEntries().empty());

    // A configured one from its own address: only the acknowledge.
    m_engine->ManageDiscoverPacket(kDeviceA.Discover());
    std::vector<SentDatagram> sent = TakeSent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].Type(), kMsgDiscover);

    // From a new address it is queried again there, and its report moves the record.
    m_engine->ManageDiscoverPacket(kDeviceA.Discover("10.77.1.9"));
    sent = TakeSent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1].Type(), kMsgConfigQuery);
    EXPECT_EQ(m_engine->RetransmissionEntries().at(0).ip, "10.77.1.9");
    EXPECT_EQ(Managed(kDeviceA)->ip, "10.77.1.1");
    m_engine->ManageConfigPacket(kDeviceA.ConfigReport("10.77.1.9", "10.77.1.9"));
    EXPECT_EQ(Managed(kDeviceA)->ip, "10.77.1.9");
    EXPECT_TRUE(m_engine->RetransmissionEntries().empty());
}

TEST_F(EngineTest, AllZeroMacIsRefusedButAcknowledged)
{
    const TestDevice nobody{{0, 0, 0, 0, 0, 0}, "10.77.1.50"};
    NewLog();
    m_engine->ManageDiscoverPacket(nobody.Discover());
    const std::string log = NewLog();
    EXPECT_NE(log.find("[ERROR]"), std::string::npos);
    EXPECT_NE(log.find("pack mac is 0"), std::string::npos) << log;
    const std::vector<SentDatagram> sent = TakeSent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].bytes, ToolDatagram(kMsgDiscover, nobody.mac));
    EXPECT_TRUE(m_engine->ManagedDevices().empty());
    EXPECT_TRUE(m_engine->RetransmissionEntries().empty());
}

TEST_F(EngineTest, ConfigurationReportWithAnAddressHeldByAnotherConfiguredDeviceIsRejected)
{
    Configure(kDeviceA);
    m_engine->ManageDiscoverPacket(kDeviceB.Discover());
    TakeSent();
    NewLog();
    m_engine->ManageConfigPacket(kDeviceB.ConfigReport("10.77.1.1"));
    EXPECT_NE(NewLog().find("ip:10.77.1.1--ip_onlien:1--index:0, mac:00:1a:2b:3c:4d:02--index:1"), std::string::npos);
    EXPECT_EQ(Managed(kDeviceB)->state, kManageApPending);
    EXPECT_FALSE(Stored(kDeviceB));
    // The answer still ended its query's retransmission.
    EXPECT_TRUE(m_engine->RetransmissionEntries().empty());

    // A report from a MAC the table does not know is rejected the same way.
    m_engine->ManageConfigPacket(kDeviceC.ConfigReport());
    EXPECT_NE(NewLog().find("mac:00:1a:2b:3c:4d:03--index:-1"), std::string::npos);
    EXPECT_FALSE(Stored(kDeviceC));
}

TEST_F(EngineTest, IpChangeMovesTheRecordWhenTheDeviceAnswers)
{
    Configure(kDeviceA);
    NewLog();
    m_engine->UpdateManageApIp(kDeviceA.MacText(), "10.77.1.1", "10.77.1.20");
    EXPECT_NE(NewLog().find("UpdateManageApIp(ip:10.77.1.1, mac:00:1a:2b:3c:4d:01, ipUpdate:10.77.1.20)"),
              std::string::npos);
    EXPECT_EQ(Managed(kDeviceA)->pending_ip, "10.77.1.20");

    // A request the page sends meanwhile is answered from the old address.
    const uint8_t payload[22] = {1, 10, 77, 1, 20};
    ASSERT_TRUE(
        m_engine->SendPacketMutilcast("10.77.1.1", kMsgIpSet, payload, sizeof(payload), kDeviceA.MacText(), true));
    EXPECT_EQ(TakeSent().at(0).bytes,
              ToolDatagram(kMsgIpSet, kDeviceA.mac, std::vector<uint8_t>(payload, payload + 22)));
    m_engine->ManageConfigPacket(kDeviceA.Reply(kMsgIpSet));
    const std::string log = NewLog();
    EXPECT_NE(log.find("Start UpdateManageApIp(mac:00:1a:2b:3c:4d:01, ip:10.77.1.1)"), std::string::npos) << log;
    EXPECT_NE(log.find("msg_type:3, ip:10.77.1.1, mac:00:1a:2b:3c:4d:01--update manage ap"), std::string::npos) << log;
    EXPECT_EQ(Managed(kDeviceA)->ip, "10.77.1.20");
    EXPECT_EQ(Managed(kDeviceA)->pending_ip, "");
    EXPECT_TRUE(m_engine->RetransmissionEntries().empty());

    // A later reply finds no change to make.
    m_engine->ManageConfigPacket(kDeviceA.Reply(kMsgIpSet, {}, "10.77.1.20"));
    EXPECT_EQ(Managed(kDeviceA)->ip, "10.77.1.20");

    // Asking for the address it has clears a waiting change.
    m_engine->UpdateManageApIp(kDeviceA.MacText(), "10.77.1.20", "10.77.1.30");
    m_engine->UpdateManageApIp(kDeviceA.MacText(), "10.77.1.20", "10.77.1.20");
    EXPECT_EQ(Managed(kDeviceA)->pending_ip, "");
}

TEST_F(EngineTest, ResultRepliesSetTheStoredStatus)
{
    struct Case
    {
        uint16_t msgType;
        uint8_t result;
        int status; // expected afterwards, starting from Online (1)
    };
    const Case cases[] = {
        {kMsgBridgeSet, 0, 2},     {kMsgBridgeSet, 1, 3},     {kMsgReboot, 0, 4},        {kMsgReboot, 1, 1},
        {kMsgVlan, 0, 4},          {kMsgVlan, 7, 1},          {kMsgRestore, 0, 5},       {kMsgRestore, 1, 1},
        {kMsgUpgradeReport, 0, 6}, {kMsgUpgradeReport, 1, 9}, {kMsgUpgradeReport, 2, 8}, {kMsgWirelessSet, 1, 1},
        {kMsgUpgradeStart, 0, 1},
    };
    Configure(kDeviceA);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "type " << c.msgType << " result " << int{c.result});
        ASSERT_TRUE(m_store->SetDeviceStatus(kDeviceA.MacText(), 1));
        NewLog();
        m_engine->ManageConfigPacket(kDeviceA.Reply(c.msgType, {c.result}));
        EXPECT_EQ(StoredStatus(kDeviceA), c.status);
        if (c.msgType == kMsgBridgeSet)
        {
            EXPECT_NE(NewLog().find("msg_type:7, mac:00:1a:2b:3c:4d:01, result:" + std::to_string(c.status) +
                                    "--bridge configuration"),
                      std::string::npos);
        }
    }

    // The upgrade start moves a waiting device on to upgrading.
    m_engine->ManageConfigPacket(kDeviceA.Reply(kMsgUpgradeReport, {0}));
    m_engine->ManageConfigPacket(kDeviceA.Reply(kMsgUpgradeStart));
    EXPECT_EQ(StoredStatus(kDeviceA), 7);
}

TEST_F(EngineTest, SurveyIsCompleteOnlyOnceItsLastDatagramIsStored)
{
    Configure(kDeviceA);
    const auto datagram = [](uint8_t id, uint8_t firstEntry)
    {
        ap_survey_info survey;
        std::memset(&survey, 0, sizeof(survey));
        survey.packet_count = 3;
        survey.packet_id = id;
        survey.icount = 2;
        for (uint8_t i = 0; i < 2; ++i)
        {
            survey.entries[i].mac[5] = static_cast<uint8_t>(firstEntry + i);
            survey.entries[i].signal = -60;
            survey.entries[i].ssid.Assign("caf\xc3\xa9");
        }
        return kDeviceA.Reply(
            kMsgSearchAp, std::vector<uint8_t>(RecordBytes(survey).begin(), RecordBytes(survey).begin() + 3 + 2 * 44));
    };
    const std::vector<std::vector<uint8_t>> orders = {{0, 1, 2}, {1, 0, 2}, {0, 2, 1}, {2, 1, 0}};
    for (const std::vector<uint8_t>& order : orders)
    {
        SCOPED_TRACE(testing::Message() << int{order[0]} << int{order[1]} << int{order[2]});
        m_store->ClearSurveyTable();
        ASSERT_TRUE(m_engine->SendPacketMutilcast(kDeviceA.ip, kMsgSearchAp, nullptr, 0, kDeviceA.MacText(), true));
        EXPECT_FALSE(m_engine->SurveyComplete());
        bool lastSeen = false;
        for (uint8_t id : order)
        {
            m_engine->ManageConfigPacket(datagram(id, static_cast<uint8_t>(id * 2)));
            lastSeen = lastSeen || id == 2;
            EXPECT_EQ(m_engine->SurveyComplete(), lastSeen);
        }
        std::vector<config_otherwl_basic> list;
        ASSERT_TRUE(m_store->QuerySurveyList(0, true, list));
        EXPECT_EQ(list.size(), 6u);
    }
    // A survey request never enters the retransmission list, nor does its answer touch it.
    EXPECT_TRUE(m_engine->RetransmissionEntries().empty());
}

TEST_F(EngineTest, ConfiguredDeviceExpiresOnTheFourthCheckAndPendingOnesNever)
{
    Configure(kDeviceA);
    m_engine->ManageDiscoverPacket(kDeviceB.Discover());
    for (int check = 1; check <= 3; ++check)
        m_engine->CheckManageApHeartbeat();
    EXPECT_TRUE(Managed(kDeviceA));
    EXPECT_TRUE(Stored(kDeviceA));

    // A heartbeat starts the count again.
    m_engine->ManageHeartbeatPacket(kDeviceA.Heartbeat(900));
    for (int check = 1; check <= 3; ++check)
        m_engine->CheckManageApHeartbeat();
    EXPECT_TRUE(Managed(kDeviceA));
    NewLog();
    m_engine->CheckManageApHeartbeat();
    EXPECT_EQ(Count(NewLog(), "manage ap heartbeat and delete ap info"), 1u);
    EXPECT_FALSE(Managed(kDeviceA));
    EXPECT_FALSE(Stored(kDeviceA));

    for (int check = 0; check < 10; ++check)
        m_engine->CheckManageApHeartbeat();
    EXPECT_TRUE(Managed(kDeviceB));
}

TEST_F(EngineTest, UnansweredRequestIsSentThreeTimesMoreThenGivenUp)
{
    const uint8_t payload[4] = {1, 2, 3, 4};
    ASSERT_TRUE(m_engine->SendPacketMutilcast(kDeviceA.ip, kMsgRebootSchedule, payload, 4, kDeviceA.MacText(), true));
    const std::vector<uint8_t> expected = ToolDatagram(kMsgRebootSchedule, kDeviceA.mac, {1, 2, 3, 4});
    EXPECT_EQ(TakeSent().at(0).bytes, expected);
    NewLog();
    for (int remaining : {2, 1, 0})
    {
        m_engine->CheckManageApRetransmission();
        const std::vector<SentDatagram> sent = TakeSent();
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(sent[0].bytes, expected);
        EXPECT_NE(NewLog().find("retransmission count:" + std::to_string(remaining)), std::string::npos);
    }
    m_engine->CheckManageApRetransmission();
    EXPECT_TRUE(TakeSent().empty());
    const std::string log = NewLog();
    EXPECT_NE(log.find("Retransmission times exceeded:ip:10.77.1.1, mac:00:1a:2b:3c:4d:01"), std::string::npos) << log;
    EXPECT_TRUE(m_engine->RetransmissionEntries().empty());
}

TEST_F(EngineTest, AnsweredRequestIsNotSentAgain)
{
    ASSERT_TRUE(m_engine->SendPacketMutilcast(kDeviceA.ip, kMsgReboot, nullptr, 0, kDeviceA.MacText(), true));
    TakeSent();
    m_engine->ManageConfigPacket(kDeviceA.Reply(kMsgReboot, {0}));
    NewLog();
    m_engine->CheckManageApRetransmission();
    EXPECT_TRUE(TakeSent().empty());
    EXPECT_EQ(NewLog().find("etransmission"), std::string::npos);
}

TEST_F(EngineTest, TwoIdenticalRequestsAreTwoEntriesAndOneAnswerEndsOne)
{
    for (int i = 0; i < 2; ++i)
        ASSERT_TRUE(m_engine->SendPacketMutilcast(kDeviceA.ip, kMsgVlan, nullptr, 0, kDeviceA.MacText(), true));
    EXPECT_EQ(m_engine->RetransmissionEntries().size(), 2u);
    m_engine->ManageConfigPacket(kDeviceA.Reply(kMsgVlan, {0}));
    EXPECT_EQ(m_engine->RetransmissionEntries().size(), 1u);
    TakeSent();
    m_engine->CheckManageApRetransmission();
    EXPECT_EQ(TakeSent().size(), 1u);
    // An answer from another device, or of another type, ends nothing.
    m_engine->ManageConfigPacket(kDeviceB.Reply(kMsgVlan, {0}, kDeviceA.ip));
    m_engine->ManageConfigPacket(kDeviceA.Reply(kMsgReboot, {0}));
    EXPECT_EQ(m_engine->RetransmissionEntries().size(), 1u);
}

TEST_F(EngineTest, MaximumOfZeroRemovesEntriesWithoutResending)
{
    ASSERT_TRUE(m_engine->Init(0, 60000));
    // Init's adapter query found no library; the test's adapter again.
    m_engine->RebuildLocalIpList({Adapter("eth0", kToolMac, {{"10.77.0.1", "255.255.0.0"}})});
    ASSERT_TRUE(m_engine->SendPacketMutilcast(kDeviceA.ip, kMsgDeviceName, nullptr, 0, kDeviceA.MacText(), true));
    TakeSent();
    NewLog();
    m_engine->CheckManageApRetransmission();
    EXPECT_TRUE(TakeSent().empty());
    EXPECT_NE(NewLog().find("Retransmission times exceeded"), std::string::npos);
    EXPECT_TRUE(m_engine->RetransmissionEntries().empty());
}

TEST_F(EngineTest, RequestsLeaveFromEveryLocalAddressOnTheDeviceSubnet)
{
    m_engine->RebuildLocalIpList(
        {Adapter("eth0", kToolMac, {{"10.77.0.1", "255.255.0.0"}, {"192.168.5.2", "255.255.255.0"}}),
         Adapter("eth1", {2, 0, 0, 0, 0, 2}, {{"10.77.0.2", "255.255.0.0"}})});
    ASSERT_TRUE(m_engine->SendPacketMutilcast(kDeviceA.ip, kMsgReboot, nullptr, 0, kDeviceA.MacText(), true));
    const std::vector<SentDatagram> sent = TakeSent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].route.source_ip, "10.77.0.1");
    EXPECT_EQ(sent[1].route.source_ip, "10.77.0.2");
    EXPECT_EQ(sent[0].bytes, sent[1].bytes);
    EXPECT_EQ(m_engine->RetransmissionEntries().size(), 1u);

    // No local address on the device's subnet: nothing sent, false, nothing to retransmit.
    EXPECT_FALSE(m_engine->SendPacketMutilcast("172.16.0.9", kMsgReboot, nullptr, 0, kDeviceA.MacText(), true));
    EXPECT_FALSE(m_engine->SendPacketMutilcast("0.0.0.0", kMsgReboot, nullptr, 0, kDeviceA.MacText(), true));
    EXPECT_TRUE(TakeSent().empty());
    EXPECT_EQ(m_engine->RetransmissionEntries().size(), 1u);
}

TEST_F(EngineTest, MessagesThatAreNeverRetransmitted)
{
    for (uint16_t msgType : {kMsgDiscover, kMsgSearchAp, kMsgHeartbeat, kMsgRelease})
        EXPECT_TRUE(m_engine->SendPacketMutilcast(kDeviceA.ip, msgType, nullptr, 0, kDeviceA.MacText(), true));
    EXPECT_TRUE(m_engine->RetransmissionEntries().empty());
    const std::vector<uint8_t> tooLong(kApPayloadMaxSize + 1, 0);
    EXPECT_FALSE(m_engine->SendPacketMutilcast(kDeviceA.ip, kMsgWirelessSet, tooLong.data(), tooLong.size(),
                                               kDeviceA.MacText(), true));
    EXPECT_TRUE(m_engine->RetransmissionEntries().empty());
}

TEST_F(EngineTest, PendingListCountsOnlyMatchingRecordsTowardsTheMaximum)
{
    Configure(kDeviceA);
    for (const TestDevice& device : {kDeviceB, kDeviceC, TestDevice{{0, 0x1a, 0x2b, 0x3c, 0x4d, 0x04}, "10.77.2.4"}})
        m_engine->ManageDiscoverPacket(device.Discover());

    std::vector<ap_info_stu> rows(5);
    // Only the third pending record matches; the first two must not use up the maximum of 2.
    m_engine->GetPendingApList(rows, 2, "10.77.2");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(InfoMacText(rows[0]), "00:1a:2b:3c:4d:04");

    m_engine->GetPendingApList(rows, 2);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(InfoMacText(rows[0]), kDeviceB.MacText());
    EXPECT_EQ(InfoMacText(rows[1]), kDeviceC.MacText());
    m_engine->GetPendingApList(rows, 10, "4d:03");
    EXPECT_EQ(rows.size(), 1u);
    m_engine->GetPendingApList(rows, 10, "build 77"); // the version text, beyond its line feed
    EXPECT_EQ(rows.size(), 3u);
    m_engine->GetPendingApList(rows, 10, "Roof"); // names are not searched
    EXPECT_TRUE(rows.empty());
    m_engine->GetPendingApList(rows, 0);
    EXPECT_TRUE(rows.empty());
}

TEST_F(EngineTest, PendingRowCarriesTheReportedFields)
{
    m_engine->ManageDiscoverPacket(kDeviceB.Discover());
    std::vector<ap_info_stu> rows;
    m_engine->GetPendingApList(rows, 1);
    ASSERT_EQ(rows.size(), 1u);
    const ap_info_stu& row = rows[0];
    EXPECT_EQ(InfoMacText(row), kDeviceB.MacText());
    EXPECT_EQ(row.ap_type, 261);
    EXPECT_EQ(int{row.ap_status}, 10);
    EXPECT_EQ(row.config.work_mode, 2);
    EXPECT_EQ(row.config.mode_btn_status, 1);
    EXPECT_EQ(uint32_t{row.config.up_time}, 500u);
    EXPECT_EQ(IpBytesToText(std::span<const uint8_t, 4>(row.config.ip, 4)), "10.77.1.2");
    EXPECT_EQ(row.config.version.Str(), "V3.2.1");
    EXPECT_EQ(row.config.ap_name.Str(), "Roof \xc3\xa9 North");
    EXPECT_EQ(row.config.ssid.Str(), "field-net");
    EXPECT_EQ(row.config.channel, 11);
    EXPECT_EQ(row.config.bridge_transparent, 1);
    EXPECT_EQ(row.config.tdmaEn, 1);
    EXPECT_EQ(row.config.secure_mode, 0);
}

TEST_F(EngineTest, VersionOnlyDiscoverReportLeavesTheOtherFieldsZero)
{
    const ap_discover_info report = kDeviceB.Report();
    m_engine->ManageDiscoverPacket(
        kDeviceB.Packet(kMsgDiscover, ApChannel::DiscoverReports, RecordBytes(report).first(33)));
    const std::optional<manage_ap_info> record = Managed(kDeviceB);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->version.Str(), "V3.2.1\nbuild 77");
    EXPECT_EQ(record->up_time, 0u);
    EXPECT_EQ(record->ap_name.len, 0);
    EXPECT_EQ(record->channel, 0);
}

TEST_F(EngineTest, NewSearchReleasesAndForgetsPendingDevicesAndPurgesUnmanagedRows)
{
    Configure(kDeviceA);
    m_engine->ManageDiscoverPacket(kDeviceB.Discover());
    TakeSent();
    ap_info_stu orphan;
    std::memset(&orphan, 0, sizeof(orphan));
    SetInfoMacText(orphan, "00:1a:2b:3c:4d:99");
    ASSERT_TRUE(m_store->SaveDeviceConfig(orphan));

    m_engine->ReleasePendingManageAp();
    const std::vector<SentDatagram> sent = TakeSent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].bytes, ToolDatagram(kMsgRelease, kDeviceB.mac));
    m_engine->DeletePendingManageAp();
    EXPECT_FALSE(Managed(kDeviceB));
    EXPECT_TRUE(Managed(kDeviceA));
    m_engine->SyncStoreWithManageAp();
    std::vector<std::string> macs;
    m_store->ListDeviceMacs(macs);
    EXPECT_EQ(macs, std::vector<std::string>{kDeviceA.MacText()});
}

TEST_F(EngineTest, ShutdownReleasesEveryManagedDeviceOnce)
{
    Configure(kDeviceA);
    m_engine->ManageDiscoverPacket(kDeviceB.Discover());
    TakeSent();
    ASSERT_TRUE(m_engine->Init(3, 60000));
    m_engine->RebuildLocalIpList({Adapter("eth0", kToolMac, {{"10.77.0.1", "255.255.0.0"}})});
    m_engine.reset();
    std::vector<std::string> released;
    for (const SentDatagram& sent : TakeSent())
    {
        EXPECT_EQ(sent.Type(), kMsgRelease);
        EXPECT_EQ(sent.bytes.size(), 16u);
        released.push_back(sent.Mac());
    }
    EXPECT_EQ(released, (std::vector<std::string>{kDeviceA.MacText(), kDeviceB.MacText()}));
}

TEST_F(EngineTest, DiscoverWithoutAdaptersGoesToTheLimitedBroadcast)
{
    m_engine->RefreshCaptureDevices();
    m_engine->SendPacketBroadcast();
    const std::vector<SentDatagram> sent = TakeSent();
    ASSERT_EQ(sent.size(), 1u);
    ExpectRoute(sent[0], {ApRoute::DiscoverAll, "", "255.255.255.255", 9786});
    EXPECT_EQ(sent[0].bytes, (std::vector<uint8_t>{0x88, 0x19, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(m_capture->Frames().empty());
    EXPECT_EQ(m_capture->Refreshes(), 1);
    // The query also rebuilt the local IP list from no adapters.
    EXPECT_TRUE(m_engine->LocalIpList().empty());
}

TEST_F(EngineTest, InitWithoutSocketsAndShutdownJoinEveryThread)
{
    NewLog();
    ASSERT_TRUE(m_engine->Init(3, 0));
    EXPECT_EQ(m_engine->LastInitFailure(), "");
    // A second Init replaces the threads of the first.
    ASSERT_TRUE(m_engine->Init(5, 1));
    m_engine.reset();
    EXPECT_EQ(NewLog().find("[ERROR]"), std::string::npos);
}
