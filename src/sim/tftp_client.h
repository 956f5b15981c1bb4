// A small TFTP client (RFC 1350, with the blksize option of RFC 2348) that fetches a file and counts
// its bytes: how a simulated device takes its firmware image from the tool.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "link/address_text.h"

struct TftpFetchResult
{
    bool ok = false;
    size_t bytes = 0;
    std::string error;
};

// Reads file from server:69, sending from localAddress. Blocks; gives up after the server has been
// silent for five retries of two seconds each.
TftpFetchResult TftpFetch(const Ipv4Bytes& server, const Ipv4Bytes& localAddress, const std::string& file,
                          uint16_t serverPort = 69);
