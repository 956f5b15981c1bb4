#include "store/model_table.h"

#include <algorithm>

namespace
{

constexpr std::array<ModelEntry, 40> kModels = {{
    {1, "KV-C2410"},   {2, "KV-C2420"},   {3, "KV-C2430"},   {4, "KV-C2440"},   {5, "KV-C2450"},   {6, "KV-C2460"},
    {7, "KV-C2470"},   {8, "KV-C2480"},   {9, "KV-C2490"},   {10, "KV-C2500"},  {11, "KV-C2510"},  {12, "KV-C2520"},
    {13, "KV-C2530"},  {14, "KV-C2540"},  {15, "KV-C2550"},  {16, "KV-C2560"},  {17, "KV-C2570"},  {18, "KV-C2580"},
    {257, "KV-A5010"}, {258, "KV-A5020"}, {259, "KV-A5030"}, {260, "KV-A5040"}, {261, "KV-A5050"}, {262, "KV-A5060"},
    {263, "KV-A5070"}, {264, "KV-A5080"}, {265, "KV-A5090"}, {266, "KV-A5100"}, {267, "KV-A5110"}, {268, "KV-A5120"},
    {269, "KV-A5130"}, {270, "KV-A5140"}, {271, "KV-A5150"}, {272, "KV-A5160"}, {273, "KV-A5170"}, {274, "KV-A5180"},
    {275, "KV-A5190"}, {276, "KV-A5200"}, {277, "KV-A5210"}, {278, "KV-A5220"},
}};

constexpr std::array<int, 2> kTransparentBridgeExceptions = {4, 261};

constexpr std::array<int, 19> kTdmaCapable = {6,   8,   9,   10,  11,  14,  15,  18,  265, 266,
                                              267, 268, 269, 270, 272, 273, 274, 277, 278};

constexpr bool LabelsAreUniqueAndShort()
{
    for (size_t i = 0; i < kModels.size(); ++i)
    {
        if (kModels[i].label.empty() || kModels[i].label.size() > 12)
            return false;
        for (size_t j = i + 1; j < kModels.size(); ++j)
            if (kModels[i].label == kModels[j].label || kModels[i].code == kModels[j].code)
                return false;
    }
    return true;
}
static_assert(LabelsAreUniqueAndShort());

} // namespace

const std::array<ModelEntry, 40>& ModelTable()
{
    return kModels;
}

bool IsTransparentBridgeException(int modelCode)
{
    return std::find(kTransparentBridgeExceptions.begin(), kTransparentBridgeExceptions.end(), modelCode) !=
           kTransparentBridgeExceptions.end();
}

bool IsTdmaCapable(int modelCode)
{
    return std::find(kTdmaCapable.begin(), kTdmaCapable.end(), modelCode) != kTdmaCapable.end();
}
