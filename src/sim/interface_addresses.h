// Adds and removes IPv4 addresses on one interface through rtnetlink, many in one batch, so that a
// thousand simulated devices get their addresses in a moment.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "link/address_text.h"
#include "link/unique_fd.h"

class CInterfaceAddresses
{
public:
    explicit CInterfaceAddresses(std::string interfaceName);

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
    CUniqueFd m_socket;
    unsigned m_sequence = 1;
};
