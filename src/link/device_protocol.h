// The device protocol in one include: what each header of link/ holds.
//
//   message_types.h   sizes, ports, addresses, message type numbers, the receiving channels
//   wire_types.h      little-endian numbers and text fields that records are made of
//   packet_head.h     ap_packet_head, ap_packet_info, EncodePacket / DecodePacket, payload access
//   device_reports.h  ap_discover_info (type 1), ap_heartbeat_info (type 15) and their readers
//   config_info.h     ap_config_info (type 2), its request blocks, the device row ap_info_stu
//   survey_info.h     config_otherwl_basic, ap_survey_info (type 6) and its bounded reader
//   address_text.h    MAC and IPv4 addresses between bytes and text
//
// Readers take an ap_packet_info from DecodePacket and never read past its buffer, whatever the
// header claims.
#pragma once

#include "link/address_text.h"
#include "link/config_info.h"
#include "link/device_reports.h"
#include "link/message_types.h"
#include "link/packet_head.h"
#include "link/survey_info.h"
#include "link/wire_types.h"
