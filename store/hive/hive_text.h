// String values between the registry's form and a hive's: the registry
// keeps REG_SZ, REG_EXPAND_SZ and REG_MULTI_SZ data as UTF-8 (what the A
// functions read and write), a hive file as UTF-16LE. Data that does not
// convert exactly (an odd length, an unpaired surrogate, bytes that are not
// UTF-8) is kept as it is, so nothing is lost either way. Stateless.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvane::platform {

// A value's data as the registry shows it, from the hive's bytes.
std::string RegistryDataFromHive(uint32_t type, std::string_view bytes);
// A value's data as a hive holds it, from the registry's bytes.
std::string HiveDataFromRegistry(uint32_t type, std::string_view bytes);

}  // namespace orvane::platform
