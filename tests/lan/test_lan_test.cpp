// The test LAN itself: hosts reach each other, loss is applied, nothing is left behind.
#include "common/test_lan.h"

#include <gtest/gtest.h>

TEST(TestLan, HostsShareOneSubnetAndTheLanIsRemovedAfterwards)
{
    SKIP_WITHOUT_TEST_LAN();
    std::string namespaces;
    {
        CTestLan lan("self", {.deviceHosts = 2, .secondToolAddress = true});
        ASSERT_TRUE(lan.IsUp());
        std::string addresses;
        ASSERT_EQ(lan.Run("tool", {"ip", "-4", "-o", "addr", "show", "dev", "eth0"}, &addresses), 0);
        EXPECT_NE(addresses.find("10.77.0.1/16"), std::string::npos) << addresses;
        EXPECT_NE(addresses.find("10.77.0.2/16"), std::string::npos) << addresses;

        // A UDP datagram from a device host reaches the tool host across the bridge.
        ASSERT_EQ(lan.Run("dev2", {"ip", "addr", "add", "10.77.1.7/16", "dev", "eth0"}), 0);
        CLanProcess receiver = lan.Start(
            "tool", {"python3", "-c",
                     "import socket;s=socket.socket(socket.AF_INET,socket.SOCK_DGRAM);s.bind(('10.77.0.1',40001));"
                     "s.settimeout(10);d,a=s.recvfrom(64);print(d.decode(),a[0])"});
        std::string sent;
        for (int attempt = 0; attempt < 50 && receiver.Running(); ++attempt)
            lan.Run("dev2", {"python3", "-c",
                             "import socket,time;s=socket.socket(socket.AF_INET,socket.SOCK_DGRAM);"
                             "s.sendto(b'hello',('10.77.0.1',40001));time.sleep(0.1)"});
        EXPECT_EQ(receiver.Wait(std::chrono::seconds(10)), 0);
        EXPECT_EQ(receiver.Output(), "hello 10.77.1.7\n");

        // The loss sits on the switch, both ways.
        lan.SetLoss(30);
        std::string rules;
        lan.Run("sw", {"nft", "list", "ruleset"}, &rules);
        EXPECT_NE(rules.find("iifname \"tool\" udp dport { 9786, 9787 } numgen random mod 100 < 30"), std::string::npos)
            << rules;
        EXPECT_NE(rules.find("oifname \"tool\" udp dport { 9785, 9787, 9788 } numgen random mod 100 < 30"),
                  std::string::npos)
            << rules;
        namespaces = lan.Namespace("");
    }
    FILE* list = popen("ip netns list", "r");
    char line[256];
    while (list && fgets(line, sizeof(line), list))
        EXPECT_EQ(std::string(line).find(namespaces), std::string::npos) << line;
    if (list)
        pclose(list);
}
