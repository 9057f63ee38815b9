// Whole-file reading and writing for regedit. A written plain file appears
// at its name complete or not at all (platform/file_replace.h: links are
// followed only as protected symlinks would be, and FIFOs and devices are
// written directly). "-" names standard input or output.
#pragma once

#include <string>
#include <string_view>

namespace orvane::regedit {

// Reads the file `path` into *bytes; false with a message in *error.
bool ReadWholeFile(const std::string& path, std::string* bytes, std::string* error);

// Writes `bytes` as the file `path` (created with permissions as the umask
// allows, or replaced keeping the old file's mode and extended attributes);
// false with a message in *error (and the errno value in *cause, when
// given), leaving the old file, or no file of that name if there was none.
bool WriteWholeFile(const std::string& path, std::string_view bytes, std::string* error, int* cause = nullptr);

}  // namespace orvane::regedit
