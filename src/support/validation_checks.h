// The check sequences the configuration dialogs run when the user saves. Each returns the first check
// that fails (its message key, the kind of box that shows it, the field to focus), or nothing when
// the input may be sent. The message key is the program's English text: pass it through
// ValidationMessageText (language lookup, then placeholders) where it is shown.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class MessageBoxKind
{
    Plain,         // the program's title, no icon
    Warning,       // exclamation icon, empty title
    TitledWarning, // exclamation icon with the program's title (the WEP key checks)
};

// The field that receives the keyboard focus after the box closes.
enum class ValidationFocus
{
    None,
    Name,
    Ssid,
    Power,
    KeyInterval,    // the pre-shared key's update interval
    RadiusInterval, // the RADIUS key's update interval
};

struct ValidationFailure
{
    std::string messageKey;
    MessageBoxKind box = MessageBoxKind::Plain;
    ValidationFocus focus = ValidationFocus::None;
    std::vector<int> arguments; // for the %d placeholders of the translated text, in order

    bool operator==(const ValidationFailure&) const = default;
};

// Nothing: every check passed.
using ValidationResult = std::optional<ValidationFailure>;

// The text to show: the translation of the key with each %d replaced by the next argument ("%%" gives
// "%"). Any other % sequence of a translation stays as it is, so no language file can misuse it.
std::string ValidationMessageText(const ValidationFailure& failure);

// IP tab: address (must be set), mask, gateway, primary and secondary DNS (may be unset). Plain boxes.
ValidationResult CheckIpSettings(std::string_view address, std::string_view mask, std::string_view gateway,
                                 std::string_view dns1, std::string_view dns2);

// Device name (IP tab, and renaming in a device list), by the device's model code. Warning boxes.
ValidationResult CheckDeviceName(std::u16string_view name, int apType);

// SSID (wireless tab), by the device's model code. Warning boxes.
ValidationResult CheckSsid(std::u16string_view ssid, int apType);

// Transmit power: not empty and from minimum to maximum, both included. Warning box.
ValidationResult CheckTxPower(std::u16string_view power, int minimum, int maximum);

// WPA-PSK, WPA2-PSK and mixed: key of 8 to 63 ASCII or 64 hex characters, then the key update
// interval (0, or 60 to 99999). Warning boxes.
ValidationResult CheckPreSharedKey(std::u16string_view key, std::u16string_view interval);

// WPA and WPA2 with a RADIUS server: server address, port (empty reads as 0), key of 1 to 64 ASCII
// characters, key update interval. Warning boxes.
ValidationResult CheckRadius(std::string_view serverAddress, std::u16string_view port, std::u16string_view key,
                             std::u16string_view interval);

struct WepKeyInput
{
    std::u16string_view text;
    int type = 0; // wep_key_type: 0 ASCII, 1 hexadecimal
};

// WEP: each non-empty key by its type, key 1 first, then the default key (1 to 4) must not be empty.
// Titled warning boxes.
ValidationResult CheckWepKeys(const std::array<WepKeyInput, 4>& keys, int defaultKey);
