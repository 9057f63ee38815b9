// Writing one value from the control's text or number form: WriteValue,
// which SetValue, bulk writing and file types share, and the conversion of
// a form into the bytes stored for a registry type. Stateless; each call
// opens and closes its own key.
#pragma once

#include <cstdint>
#include <string>

#include "orvane/variant.h"
#include "platform/win32_registry.h"
#include "registry/hex_text.h"  // HexPairToByte, IsHexString

namespace orvane {

// The most data bytes one value holds in the Linux store (87 beyond it);
// SetAllValues checks its rows against it on Windows too.
inline constexpr size_t kMaxValueDataSize = size_t{64} << 20;

// Open modes of WriteValue (the interface's QVOpenMode).
inline constexpr uint8_t kOpenAndCreate = 0;
inline constexpr uint8_t kOpenOnly = 1;

// The bytes stored for `value` as registry type `type`: types 1 and 2 the
// text and one zero byte; 4 the number as 4 bytes little-endian (runtime
// errors 6 outside the 32-bit signed range, 13 for text that is no
// number); 7 the text with every "|" a zero byte, then zero bytes until it
// ends with two; any other type the text read as hexadecimal pairs (60007
// when it fails IsHexString).
std::string ValueBytes(const Variant& value, int32_t type);

// Writes `value` as the value `name` of `path` under `root`, as type
// `type`. `mode` kOpenAndCreate creates the key and its missing parents;
// kOpenOnly requires the key (60002 when missing); any other mode opens and
// writes nothing. An empty `name` (the default value) is always written as
// a string: `type` becomes 1 for the caller. Raises the open status, the
// conversion errors of ValueBytes (a key created before that stays) and the
// status of a refused write. With `record`: the temporary undo key is
// emptied and the value being replaced parked there (also when undo is
// off), and after a successful write ValueSetKeyCreated, ValueSetCreated
// or ValueSetReplaced goes to the journal; with another mode the existence
// test still runs (60002 for a missing key) and nothing is recorded.
void WriteValue(HKEY root, const std::string& path, const std::string& name, const Variant& value,
                int32_t& type, uint8_t mode, bool record);

}  // namespace orvane
