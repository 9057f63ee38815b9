#include "regfiles/reg_file_paths.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "orvane/runtime_errors.h"

#ifdef _WIN32
#include "platform/module_folder.h"
#include "platform/utf16_text.h"
#endif

namespace orvane {
namespace {

#ifdef _WIN32
// Our own editor, installed beside the module this code is linked into (the
// COM server or a program), started by its full path: the system's editor
// writes only the UTF-16 format, and may ask for elevation.
std::string EditorProgram() {
  return platform::ModuleFolder(reinterpret_cast<const void*>(&EditorProgram)) + "orvane-regedit.exe";
}
#else
std::string EditorProgram() { return "REGEDIT.EXE"; }
#endif

// The switches, then what ends them, then the file.
std::vector<std::string> WithFile(std::vector<std::string> switches, const std::string& file) {
#ifdef _WIN32
  // The path's UTF-16 form, so that no code page takes part.
  std::error_code ignored;
  const std::filesystem::path absolute = std::filesystem::absolute(platform::Utf16FromUtf8(file), ignored);
  switches.push_back(absolute.empty() ? file : platform::Utf8FromUtf16(absolute.wstring()));
#else
  switches.push_back("--");
  switches.push_back(file);
#endif
  return switches;
}

}  // namespace

std::string WithDefaultExtension(const std::string& path) {
  if (path.size() >= 4 && path[path.size() - 4] == '.') return path;
  return path + ".reg";
}

std::string WithoutQuotes(const std::string& text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') return text.substr(1, text.size() - 2);
  return text;
}

std::string HostFilePath(std::string path) {
#ifndef _WIN32
  std::replace(path.begin(), path.end(), '\\', '/');
#endif
  return path;
}

std::string RegFilePath(const std::string& path) {
  // The host's file functions and the editor's command line take C strings,
  // which would end the name at a NUL and reach another file.
  if (path.find('\0') != std::string::npos) RaiseFileError(EINVAL);
  return HostFilePath(WithDefaultExtension(WithoutQuotes(path)));
}

std::vector<std::string> EditorExportArguments(const std::string& file, const std::string& key) {
  std::vector<std::string> args = WithFile({EditorProgram(), "/S", "/E"}, file);
  if (!key.empty()) args.push_back(key);
  return args;
}

std::vector<std::string> EditorImportArguments(const std::string& file) {
  return WithFile({EditorProgram(), "/S"}, file);
}

std::vector<std::string> EditorRestoreArguments(const std::string& file) {
  return WithFile({EditorProgram(), "/S", "/C"}, file);
}

}  // namespace orvane
