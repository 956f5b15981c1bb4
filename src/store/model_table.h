// The device models: 40 model codes (ap_type) with their labels, and the sets of models that
// show a transparent-bridge or a TDMA state.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

struct ModelEntry
{
    uint16_t code;
    std::string_view label; // at most 12 characters, unique, shown as it stands (never translated)
};

// Codes 1 to 18, then 257 to 278, in that order.
const std::array<ModelEntry, 40>& ModelTable();

// Models 4 and 261 show no transparent-bridge state.
bool IsTransparentBridgeException(int modelCode);

// Only these models show a TDMA state.
bool IsTdmaCapable(int modelCode);
