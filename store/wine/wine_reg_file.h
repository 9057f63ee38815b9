// One registry file of a Wine prefix (system.reg, user.reg, userdef.reg) as
// Wine's server reads and writes it: the "WINE REGISTRY Version 2" header
// with its ";; All keys relative to" and "#arch=" lines, then one section
// per key ("[path] seconds", "#time=", "#class=", "#link", its values).
// Names are UTF-8 here; value data is kept as Wine holds it (strings in
// UTF-16LE with their terminating zero). Every section, value and header
// keeps the exact bytes it was read from, and is written back with them
// while its `text` is not cleared: an unchanged file is written back byte
// for byte. Lines the reader does not understand are kept in their key.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::platform::wine {

struct WineValue {
  std::string name;  // empty: the default value ("@")
  uint32_t type = 0;
  std::string data;
  std::string text;  // its lines as read (newline included); empty: written anew
};

struct WineKey {
  std::string path;   // names joined by '\', below the file's root; empty: the root
  int64_t modif = 0;  // last write time, 100 ns units since 1601 (as #time=)
  std::optional<std::string> class_name;
  bool link = false;  // a symbolic link (its target in SymbolicLinkValue)
  std::vector<WineValue> values;
  std::vector<std::string> other_lines;  // lines not understood, newline included
  std::string text;                      // the section as read; empty: written anew
};

struct WineRegFile {
  std::string header;         // everything before the first key's blank line
  std::string root;           // as ";; All keys relative to" names it, e.g. "REGISTRY\\Machine"
  std::vector<WineKey> keys;  // in file order
};

// Throws StoreStatusError (1009) when `bytes` is not a Wine registry file.
WineRegFile ParseWineRegFile(std::string_view bytes);
// The file's bytes: the kept text of what is unchanged, the rest as Wine
// writes it.
std::string FormatWineRegFile(const WineRegFile& file);
// A section and a value line as Wine writes them.
std::string FormatWineKey(const WineKey& key);
std::string FormatWineValue(const WineValue& value);
// The header Wine writes for a file whose keys are relative to `root`.
std::string WineRegHeader(std::string_view root);

// Text conversions between our names (UTF-8; a byte that is not UTF-8
// stands for one unit) and Wine's UTF-16.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view units);
// The UTF-16 units of little-endian data (an odd last byte is left out).
std::u16string UnitsOf(std::string_view data);

// Times: the seconds since 1970 of "[path] seconds" from a #time= value.
constexpr int64_t kTicks1601To1970 = 116444736000000000;
inline int64_t UnixSeconds(int64_t modif) { return (modif - kTicks1601To1970) / 10'000'000; }

}  // namespace orvane::platform::wine
