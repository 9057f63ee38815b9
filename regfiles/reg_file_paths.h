// How the registry-file methods name files and keys for the external
// editor: the caller's path made into the file read or written (wrapping
// quotes removed, default ".reg" extension, the host's form of a path) and
// the editor's argument lists, one argument per file or key. Stateless.
#pragma once

#include <string>
#include <vector>

namespace orvane {

// `path` unchanged when it has at least 4 characters and the fourth from the
// end is "."; otherwise `path` + ".reg".
std::string WithDefaultExtension(const std::string& path);

// `text` without the double quotes that wrap it: one at its start and one
// at its end are removed when both are there; otherwise `text` unchanged
// (a quote at one end alone is part of the name).
std::string WithoutQuotes(const std::string& text);

// The path as the host's file functions take it: on Linux every backslash
// becomes "/" (so "C:\dir\x.reg" style paths and the backup path, the
// Windows directory + "\Registry.orv", name folders); unchanged on Windows.
std::string HostFilePath(std::string path);

// The file that Export, Import and Backup use for the caller's `path`:
// wrapping quotes removed first, then the default extension, in the host's
// form. The editor gets this file and the export waits for it. A path
// holding a NUL raises the runtime's file error 75 (as EINVAL does) before
// any file is touched.
std::string RegFilePath(const std::string& path);

// The editor's argument lists (program name first: on Windows the full
// path of our orvane-regedit.exe beside the module this code is linked into). Each file and key is
// one argument as given, never split or unquoted again; switches end before it ("--"
// on Linux; on Windows the file is absolute, so it never starts with "/" or
// "-"). `key` empty exports the whole registry and is then left out.
std::vector<std::string> EditorExportArguments(const std::string& file, const std::string& key);
std::vector<std::string> EditorImportArguments(const std::string& file);
std::vector<std::string> EditorRestoreArguments(const std::string& file);

}  // namespace orvane
