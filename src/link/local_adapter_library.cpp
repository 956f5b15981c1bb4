#include "link/local_adapter_library.h"

#include <cstring>
#include <dlfcn.h>

#include "link/address_text.h"

void CLocalAdapterLibrary::Closer::operator()(void* handle) const
{
    dlclose(handle);
}

bool CLocalAdapterLibrary::Load(const std::string& path)
{
    m_handle.reset(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL));
    return m_handle != nullptr;
}

uintptr_t CLocalAdapterLibrary::Handle() const
{
    return reinterpret_cast<uintptr_t>(m_handle.get());
}

std::vector<local_adapter_info> CLocalAdapterLibrary::QueryUsableAdapters()
{
    std::vector<local_adapter_info> adapters;
    std::lock_guard guard(m_queryLock);
    if (!m_handle)
        return adapters;
    // Looked up at every query, as the library's contract has it.
    const auto get = reinterpret_cast<GetLocalAdapterInfoFunction>(dlsym(m_handle.get(), "GetLocalAdapterInfo"));
    const auto clear = reinterpret_cast<ClearLocalAdapterInfoFunction>(dlsym(m_handle.get(), "ClearLocalAdapterInfo"));
    for (const local_adapter_info* record = get ? get() : nullptr; record != nullptr; record = record->next)
    {
        if (record->state != 1 || record->address_count <= 0 ||
            std::strncmp(record->addresses[0].ip, "0.0.0.0", sizeof(record->addresses[0].ip)) == 0)
            continue;
        local_adapter_info copy = *record;
        copy.next = nullptr;
        if (copy.address_count > LOCAL_ADAPTER_MAX_ADDRESSES)
            copy.address_count = LOCAL_ADAPTER_MAX_ADDRESSES;
        adapters.push_back(copy);
    }
    if (clear)
        clear();
    return adapters;
}

std::string AdapterMacText(const local_adapter_info& adapter)
{
    return MacBytesToText(std::span<const uint8_t, 6>(adapter.mac, 6));
}
