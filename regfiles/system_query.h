// One answer about the running system per item of the interface's
// QVSysInfo, as text. Stateless; every call opens and closes the keys it
// reads.
#pragma once

#include <cstdint>
#include <string>

namespace orvane {

// Items (QVSysInfo).
enum SysInfoItem : int16_t {
  kSysInfoOs = 0,
  kSysInfoProductId = 1,
  kSysInfoVersionNumber = 2,
  kSysInfoRegisteredOwner = 3,
  kSysInfoRegisteredOrganization = 4,
  kSysInfoWinDir = 5,
  kSysInfoSysDir = 6,
  kSysInfoTempDir = 7,
  kSysInfoProgramFilesDir = 8,
  kSysInfoCommonFilesDir = 9,
  kSysInfoComputerName = 10,
  kSysInfoUserName = 11,
  kSysInfoUserLanguage = 12,
};

// The answer for `item`; the empty string for a number outside 0..12 and
// for a registry item whose value is missing. Opens the Windows key, and on
// the NT platform the NT key, for every item: a failed open raises 60000 +
// its status. Directories come without a trailing backslash.
std::string QuerySystemInfo(int16_t item);

}  // namespace orvane
