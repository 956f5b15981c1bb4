// The records of the device link as table rows and back: a device record as the values of the
// ap_info columns, a surveyed access point as those of ap_other_info, and the reverse reads.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "link/config_info.h"
#include "link/survey_info.h"
#include "store/store_schema.h"

class CSqliteStatement;

// One column's value: a number, a double or a UTF-8 text.
using column_value = std::variant<int64_t, double, std::string>;

// The value of every ap_info column but ID, indexed by column.
using device_row_values = std::array<column_value, AP_COLUMN_COUNT>;
// The value of every ap_other_info column but ID, indexed by column.
using survey_row_values = std::array<column_value, OTHER_COLUMN_COUNT>;

// The row of a device that reported its configuration: stored as online, with the display texts
// of its codes in the current language. Texts of the record are in the locale's codeset.
device_row_values DeviceRecordToRow(const ap_info_stu& record);

// The row of one surveyed access point of a survey datagram.
survey_row_values SurveyEntryToRow(const ap_survey_info& report, const config_otherwl_basic& entry);

// Binds every value but ID's to the parameter of the column's index (?1 mac ... ?75 wl_dfs).
template <size_t N>
bool BindRowValues(CSqliteStatement& statement, const std::array<column_value, N>& values);

// A device record from a row that holds every ap_info column in table order. The bridge fields
// stay zero.
ap_info_stu DeviceRecordFromRow(const CSqliteStatement& row);

// A surveyed access point from a row that holds every ap_other_info column in table order.
config_otherwl_basic SurveyEntryFromRow(const CSqliteStatement& row);

// The text without blanks and other white space at either end.
std::string TrimText(std::string_view text);
