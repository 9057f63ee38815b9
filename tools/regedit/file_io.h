// Whole-file reading and writing for regedit. A written file appears at its
// name complete or not at all: it is written under a temporary name in the
// same folder and renamed at the end. "-" names standard input or output.
#pragma once

#include <string>
#include <string_view>

namespace orvane::regedit {

// Reads the file `path` into *bytes; false with a message in *error.
bool ReadWholeFile(const std::string& path, std::string* bytes, std::string* error);

// Writes `bytes` as the file `path` (created or replaced, permissions as
// the umask allows); false with a message in *error, leaving no file of
// that name behind if there was none.
bool WriteWholeFile(const std::string& path, std::string_view bytes, std::string* error);

}  // namespace orvane::regedit
