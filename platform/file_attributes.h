// File attributes on Linux, kept as Samba keeps them: the extended attribute
// `user.DOSATTRIB` holds the attribute bits as text ("0x7"), and read-only
// is also the absence of write permission in the file mode. Stateless.
#pragma once

#include <cstdint>
#include <string>

namespace orvane::platform {

// The attributes of `path`: the stored bits (archive when none are stored),
// read-only when the owner may not write, directory for a folder. Returns
// false with a Windows result in *status when the file cannot be examined.
bool ReadFileAttributes(const std::string& path, uint32_t* attributes, long* status);

// Whether the attributes stored with `path` (not the mode) hold read-only:
// a file another tool marked so, whatever its mode says now.
bool HasStoredReadOnlyBit(const std::string& path);

// Stores `attributes` (directory and normal bits are not stored) and sets or
// clears the write permission by the read-only bit. Returns a Windows
// result: 0, 2 missing file, 3 missing folder, 5 refused, 87 other.
long WriteFileAttributes(const std::string& path, uint32_t attributes);

// Stores `attributes` on the open file `descriptor` and gives it the
// permissions `mode` (a file being written, before it takes its name).
// Returns 0 or errno; a file system without user extended attributes keeps
// only the mode.
int WriteDescriptorAttributes(int descriptor, uint32_t attributes, unsigned mode);

// The Windows result that fits errno.
long ResultOfErrno(int errno_value);

}  // namespace orvane::platform
