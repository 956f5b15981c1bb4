// Adds and removes IPv4 addresses on one interface through rtnetlink, many in one batch, so that a
// thousand simulated devices get their addresses in a moment.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "link/address_text.h"

class CInterfaceAddresses
{
public:
    explicit CInterfaceAddresses(std::string interfaceName);
    ~CInterfaceAddresses();
    CInterfaceAddresses(const CInterfaceAddresses&) = delete;
    CInterfaceAddresses& operator=(const CInterfaceAddresses&) = delete;

    // False (with *error) when the interface is missing or netlink cannot be opened.
    bool Open(std::string* error);
    int InterfaceIndex() const { return m_index; }

    // Addresses that exist already count as added. False with *error on the first failure.
    bool Add(const std::vector<std::pair<Ipv4Bytes, int>>& addresses, std::string* error);
    bool Remove(const std::vector<std::pair<Ipv4Bytes, int>>& addresses, std::string* error);

    // Keeps the other addresses of a subnet when its first one goes (the kernel's default is to drop
    // them all with it).
    bool KeepSecondaries(std::string* error);

private:
    bool Change(int type, const std::vector<std::pair<Ipv4Bytes, int>>& addresses, std::string* error);

    std::string m_name;
    int m_index = 0;
    int m_socket = -1;
    unsigned m_sequence = 1;
};
