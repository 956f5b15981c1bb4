// The binding to libLocalAdapter.so: loaded once, queried under its own lock.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "adapter/local_adapter_api.h"

constexpr const char* kLocalAdapterLibraryName = "libLocalAdapter.so";

class CLocalAdapterLibrary
{
public:
    CLocalAdapterLibrary() = default;

    // Loads the library from the path; false (and a handle of 0) when it cannot be loaded.
    bool Load(const std::string& path);

    // The library handle as a number, 0 when none is loaded.
    uintptr_t Handle() const;

    // The usable adapters in the library's order: state 1, at least one address, first address
    // not 0.0.0.0. Each copy has no next pointer. Empty without the library.
    std::vector<local_adapter_info> QueryUsableAdapters();

private:
    struct Closer
    {
        void operator()(void* handle) const;
    };

    std::mutex m_queryLock;
    std::unique_ptr<void, Closer> m_handle;
};

// "aa:bb:cc:dd:ee:ff" of an adapter's MAC.
std::string AdapterMacText(const local_adapter_info& adapter);
