// Building blocks of the device records: little-endian numbers, fixed text fields with their length
// byte, raw record bytes.
//
// Every record of the device protocol is a struct of byte-sized members only (bytes, byte arrays and
// the types below), so its layout is exactly the bytes on the wire: no padding, alignment 1, the same
// on any host. Numbers read and assign like plain integers (`uint32_t t = info.up_time;`,
// `info.up_time = 5;`); pass them to printf-style functions as integers (`uint32_t{info.up_time}`),
// which -Werror=format enforces.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

// A little-endian integer of sizeof(T) bytes.
template <typename T>
struct ap_le
{
    uint8_t bytes[sizeof(T)];

    constexpr operator T() const
    {
        std::make_unsigned_t<T> value = 0;
        for (size_t i = sizeof(T); i-- > 0;)
            value = static_cast<std::make_unsigned_t<T>>((value << 8) | bytes[i]);
        return static_cast<T>(value);
    }

    constexpr ap_le& operator=(T value)
    {
        const auto bits = static_cast<std::make_unsigned_t<T>>(value);
        for (size_t i = 0; i < sizeof(T); ++i)
            bytes[i] = static_cast<uint8_t>(bits >> (8 * i));
        return *this;
    }
};

using le_u16 = ap_le<uint16_t>;
using le_u32 = ap_le<uint32_t>;
using le_i32 = ap_le<int32_t>;

static_assert(sizeof(le_u16) == 2 && sizeof(le_u32) == 4 && alignof(le_u32) == 1);

// A text field of a device record: N bytes of text without terminator, then one length byte.
// The text is the first `len` bytes; a length above N (a device's fault) reads as N.
template <size_t N>
struct ap_text_field
{
    char text[N];
    uint8_t len;

    static constexpr size_t kCapacity = N;

    std::string_view View() const { return {text, std::min<size_t>(len, N)}; }
    std::string Str() const { return std::string(View()); }

    // The first N bytes of value, the rest of the array zero, the length byte set to what was kept.
    // Cuts bytes, not characters: callers that hold UTF-8 cut it on a character boundary first.
    void Assign(std::string_view value)
    {
        const size_t kept = std::min(value.size(), N);
        std::memset(text, 0, N);
        if (kept > 0)
            std::memcpy(text, value.data(), kept);
        len = static_cast<uint8_t>(kept);
    }
};

static_assert(sizeof(ap_text_field<32>) == 33 && alignof(ap_text_field<32>) == 1);
static_assert(sizeof(ap_text_field<64>) == 65 && sizeof(ap_text_field<26>) == 27);

// The bytes of a record, as they go on the wire.
template <typename Record>
std::span<const uint8_t> RecordBytes(const Record& record)
{
    static_assert(std::is_trivially_copyable_v<Record>);
    return {reinterpret_cast<const uint8_t*>(&record), sizeof(Record)};
}

// A record filled from bytes: the first min(size, sizeof) bytes, zero beyond.
template <typename Record>
Record RecordFromBytes(std::span<const uint8_t> bytes)
{
    static_assert(std::is_trivially_copyable_v<Record>);
    Record record;
    std::memset(&record, 0, sizeof(Record));
    if (!bytes.empty())
        std::memcpy(&record, bytes.data(), std::min(bytes.size(), sizeof(Record)));
    return record;
}
