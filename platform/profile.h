#pragma once
// Private profile files (WQIVA.INI, WIN.INI) with the Windows semantics the toolkit relies on:
// sections and keys matched without regard to ASCII case, values trimmed of blanks and of one pair
// of enclosing quotes, integers read from the leading number, defaults for what is missing. A write
// replaces the file atomically and keeps every other line as it was.

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace platform {

// The value, or nullopt when the file, the section or the key is missing.
std::optional<std::string> ReadProfileValue(const std::string& path, std::string_view section,
                                            std::string_view key);
std::string ReadProfileString(const std::string& path, std::string_view section, std::string_view key,
                              std::string_view defaultValue);
// The leading decimal number of the value (an optional sign, then digits; 0 when there are none),
// or the default when the key is missing. Values beyond 32 bits are cut as Windows does.
int ReadProfileInt(const std::string& path, std::string_view section, std::string_view key, int defaultValue);

// A counter: the leading number held at the limits of int instead of cut, 0 when missing.
int ReadProfileCount(const std::string& path, std::string_view section, std::string_view key);

// Sets the key (adding the section and the key when missing); a null value removes the key.
// Returns false if the file could not be written; the old file is then unchanged.
bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        const std::optional<std::string_view>& value);

// Several keys of one section set by one write of the file (none when nothing changes).
struct ProfileSetting {
    std::string_view key;
    std::optional<std::string_view> value;
};
bool WriteProfileStrings(const std::string& path, std::string_view section,
                         std::span<const ProfileSetting> settings);

// A file's text is read once and kept while the file's identity, size and times stay the same;
// a write through these functions keeps what it wrote.

// The parsing underneath, on text (exposed for tests).
std::optional<std::string> ProfileValueIn(std::string_view text, std::string_view section,
                                          std::string_view key);
std::string ProfileWithValue(std::string_view text, std::string_view section, std::string_view key,
                             const std::optional<std::string_view>& value);
int LeadingInt(std::string_view value);
int LeadingIntHeld(std::string_view value); // held at INT_MIN / INT_MAX instead of cut

} // namespace platform
