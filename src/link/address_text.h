// MAC and IPv4 addresses between their byte form in device records and their text form in the tool.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

using MacBytes = std::array<uint8_t, 6>;
using Ipv4Bytes = std::array<uint8_t, 4>;

// "00:1a:2b:3c:4d:5e": six two-digit lower-case hexadecimal numbers joined by colons (17 characters).
// This text is how the tool identifies a device everywhere.
std::string MacBytesToText(std::span<const uint8_t, 6> mac);

// Six hexadecimal numbers separated by colons (either letter case), each to one byte (its low
// 8 bits). Reading stops at the first number that is missing; it and all after it read as 0.
// Empty text gives six zero bytes.
MacBytes MacTextToBytes(std::string_view text);

// "%d.%d.%d.%d" of the four bytes, first byte first (the order of a record's IP fields).
std::string IpBytesToText(std::span<const uint8_t, 4> ip);

// Four decimal numbers separated by dots, each number's low 8 bits to one byte, first number first.
// Reading stops at the first number that is missing; it and all after it read as 0.
// Empty text gives four zero bytes.
Ipv4Bytes IpTextToBytes(std::string_view text);

// part1 * 2^24 + part2 * 2^16 + part3 * 2^8 + part4 of the first four dot-separated parts, each read
// as a decimal number (leading digits; none reads as 0), taken modulo 2^32. For a dotted address this
// is the number that sorts addresses in address order.
uint32_t IpTextToNumber(std::string_view text);
