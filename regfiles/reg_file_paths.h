// How the registry-file methods name files for the external editor: the
// default ".reg" extension, double quotes around a command-line argument,
// and the host's form of a path. Stateless.
#pragma once

#include <string>

namespace orvane {

// `path` unchanged when it has at least 4 characters and the fourth from the
// end is "."; otherwise `path` + ".reg".
std::string WithDefaultExtension(const std::string& path);

// `text` in double quotes unless it begins or ends with one already.
std::string QuoteUnlessQuoted(const std::string& text);

// `path` without a double quote at its start and at its end.
std::string WithoutQuotes(const std::string& path);

// The path as the host's file functions take it: on Linux every backslash
// becomes "/" (so "C:\dir\x.reg" style paths and the backup path, the
// Windows directory + "\Registry.orv", name folders); unchanged on Windows.
std::string HostFilePath(std::string path);

}  // namespace orvane
