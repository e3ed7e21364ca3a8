// The user's choices of a command family, kept in the registry store under
// the host's current profile:
//   HKEY_CURRENT_USER\<product root>\Profiles\<CPROFILE>\UserInterfaceSettings\<section>
// Values that are absent or unreadable leave the family's variables as they
// were (their defaults); nothing is reported.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarn::frame {

// One REG_DWORD value and the module-wide variable that holds it.
struct DwordSetting {
    const char* name;
    int32_t* variable;
};

class ProfileSettings {
public:
    explicit ProfileSettings(std::string section) : section_(std::move(section)) {}

    // The key path below HKEY_CURRENT_USER; empty when CPROFILE cannot be read.
    std::optional<std::string> KeyPath() const;

    // Each variable takes its stored value, or keeps what it holds.
    void ReadDwords(std::span<const DwordSetting> settings) const;
    // Writes every variable as a 4-byte REG_DWORD. False when nothing could
    // be written (no profile, key not created).
    bool WriteDwords(std::span<const DwordSetting> settings) const;

    // Texts named prefix1, prefix2, ... up to the first number missing.
    std::vector<std::string> ReadNumberedTexts(std::string_view prefix) const;
    // Writes prefix1..prefixN and removes the numbers after N that an earlier
    // write left, so that reading gives back exactly `texts`.
    bool WriteNumberedTexts(std::string_view prefix, std::span<const std::string> texts) const;

    // A value kept as text and read as a decimal integer ("1.000000" reads
    // as 1); `value` is set only when the value exists.
    bool ReadTextInteger(std::string_view name, int32_t* value) const;
    // Stores the value as text in "%f" form ("1.000000").
    bool WriteTextReal(std::string_view name, double value) const;

private:
    std::string section_;
};

}  // namespace tarn::frame
