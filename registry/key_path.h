// Root keys and key paths. A key path is key names joined by single
// backslashes, relative to a root, with no leading or trailing backslash
// once trimmed; the empty path is the root itself; no name is longer than
// 255 characters. Pure string routines: none of them touches the registry.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvane {

// The predefined root identifiers, as 32-bit signed values.
inline constexpr int32_t kHkeyClassesRoot = static_cast<int32_t>(0x80000000u);
inline constexpr int32_t kHkeyCurrentUser = static_cast<int32_t>(0x80000001u);
inline constexpr int32_t kHkeyLocalMachine = static_cast<int32_t>(0x80000002u);
inline constexpr int32_t kHkeyUsers = static_cast<int32_t>(0x80000003u);
inline constexpr int32_t kHkeyPerformanceData = static_cast<int32_t>(0x80000004u);
inline constexpr int32_t kHkeyCurrentConfig = static_cast<int32_t>(0x80000005u);
inline constexpr int32_t kHkeyDynData = static_cast<int32_t>(0x80000006u);

// The longest key name, in characters.
inline constexpr size_t kMaxKeyNameLength = 255;

// The root's name ("HKEY_PERFORMANCE_DATA" included); empty for any value
// that is no root. One direction only: ParseGlobalKeyPath maps names back.
std::string RootKeyName(int32_t root);

// Removes one backslash from the start if there is one, then one from the
// end if there is one then: "\a\" gives "a", "\\a" gives "\a", "\" gives "".
std::string TrimKeyPath(std::string_view path);

// Everything before the last backslash that is not the final character;
// empty when there is none. "A\B\" gives "A"; "A\" gives "".
std::string ParentKeyPath(std::string_view path);

// Everything after that same backslash; the whole path when there is none.
// "A\B\" gives "B\"; "A\" gives "A\".
std::string LeafKeyName(std::string_view path);

// Returns true when every backslash-separated name of the path (empty
// names included) has at most 255 characters; otherwise raises 60010.
bool ValidateKeyPath(std::string_view path);

// Replaces every run of backslashes by one backslash.
std::string CollapseBackslashes(std::string_view text);

// A global key path split into its parts.
struct GlobalKeyPathParts {
  int32_t root = 0;
  std::string sub_key_path;
  std::string global_key_path;  // the upper-case root name, then "\" and the path if any
};

// Parses a root name in any letter case, optionally followed by a backslash
// and a key path. Backslash runs collapse and one outer backslash is
// trimmed from each end; an empty text selects `current_root` with an
// empty path. Raises 60007 for a text that names no root of the
// enumeration (HKEY_PERFORMANCE_DATA included), 60998 for HKEY_DYN_DATA on
// the NT platform, 60010 for a key name over 255 characters.
GlobalKeyPathParts ParseGlobalKeyPath(std::string_view text, int32_t current_root);

}  // namespace orvane
