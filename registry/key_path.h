// Root keys and key paths. A key path is key names joined by single
// backslashes, relative to a root, with no leading or trailing backslash
// once trimmed; the empty path is the root itself; no name is longer than
// 255 UTF-16 units (counted as Windows counts them: store/name_case.h)
// and none holds a NUL. Pure string routines: none of them touches the
// registry.
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

// The most levels below its root a key is created at, as on Windows.
inline constexpr size_t kMaxKeyDepth = 512;

// The longest key name and value name, in UTF-16 units.
inline constexpr size_t kMaxKeyNameLength = 255;
inline constexpr size_t kMaxValueNameLength = 16383;
// The buffer the longest value name needs in UTF-8, with its terminator: a
// UTF-16 unit takes at most 3 bytes (a surrogate pair, 2 units, takes 4).
inline constexpr size_t kValueNameBufferSize = 3 * kMaxValueNameLength + 1;

// Raises 60007 when `name` (a key path, key name or value name) holds a NUL
// character: the registry's functions take C strings, which would end the
// name there and reach another key or value.
void RefuseNulInName(std::string_view name);

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
// names included) has at most 255 UTF-16 units; otherwise raises 60010
// (60007 for a path holding a NUL).
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
// the NT platform, 60010 for a key name over 255 UTF-16 units, 60007 for a
// text holding a NUL.
GlobalKeyPathParts ParseGlobalKeyPath(std::string_view text, int32_t current_root);

}  // namespace orvane
