#include "link/survey_info.h"

#include <algorithm>
#include <cstring>

ap_survey_info ReadSurveyInfo(const ap_packet_info& packet)
{
    constexpr size_t kEntriesOffset = offsetof(ap_survey_info, entries);
    const size_t received =
        std::min<size_t>(packet.length, kApPacketMaxSize) - std::min<size_t>(packet.length, kApPacketHeadSize);
    const size_t arrived = received > kEntriesOffset ? (received - kEntriesOffset) / sizeof(config_otherwl_basic) : 0;

    ap_survey_info survey = RecordFromBytes<ap_survey_info>(PayloadArea(packet).first(kEntriesOffset));
    const size_t count = std::min({static_cast<size_t>(survey.icount), kSurveyMaxEntries, arrived});
    survey.icount = static_cast<uint8_t>(count);
    if (count > 0)
        std::memcpy(survey.entries, PayloadArea(packet).data() + kEntriesOffset, count * sizeof(config_otherwl_basic));
    return survey;
}
