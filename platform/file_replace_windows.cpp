// File replacement on Windows: the new contents are written into a file
// created exclusively beside the target (CREATE_NEW) and moved over it with
// ReplaceFileW, which keeps the old file's attributes and security, or with
// MoveFileExW when there is no old file. Paths are UTF-8, given to the
// system as UTF-16. Windows has no FIFOs in the file
// system and opens no link of ours, so every target is replaced. Results
// are errno values, as on Linux.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/file_attributes.h"
#include "platform/file_replace.h"
#include "platform/system_text_utf8_windows.h"
#include "platform/utf16_text.h"

namespace orvane::platform {
namespace {

int ErrnoOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND: case ERROR_PATH_NOT_FOUND: return ENOENT;
    case ERROR_ACCESS_DENIED: case ERROR_SHARING_VIOLATION: return EACCES;
    case ERROR_DISK_FULL: return ENOSPC;
    default: return EIO;
  }
}

std::string RandomHex() {
  std::random_device random;
  std::ostringstream text;
  text << std::hex << random() << random();
  return text.str();
}

int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const int written = _write(fd, bytes.data(), static_cast<unsigned>(std::min<size_t>(bytes.size(), 1 << 20)));
    if (written <= 0) return errno ? errno : EIO;
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return 0;
}

}  // namespace

int FileReplacement::Begin(const std::string& path, std::unique_ptr<FileReplacement>* out, ReadOnlyFile read_only) {
  std::unique_ptr<FileReplacement> replacement(new FileReplacement());
  const DWORD attributes = GetFileAttributesA(path.c_str());
  replacement->exists_ = attributes != INVALID_FILE_ATTRIBUTES;
  if (replacement->exists_ && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return EISDIR;
  if (replacement->exists_ && (attributes & FILE_ATTRIBUTE_READONLY) && read_only == ReadOnlyFile::kRefuse) {
    return EACCES;
  }
  replacement->target_ = path;
  *out = std::move(replacement);
  return 0;
}

FileReplacement::~FileReplacement() {
  if (!staged_.empty()) DeleteFileW(Utf16FromUtf8(staged_).c_str());
}

int FileReplacement::Stage(std::string* path) {
  if (staged_.empty()) {
    const std::filesystem::path target(Utf16FromUtf8(target_));
    const std::string folder = target.parent_path().empty() ? "." : Utf8FromUtf16(target.parent_path().wstring());
    for (int attempt = 0; attempt < 100 && staged_.empty(); ++attempt) {
      // No leading dot: Wine shows such names as hidden files, and a hidden
      // file is no finished export.
      const std::string candidate =
          folder + "\\" + Utf8FromUtf16(target.filename().wstring()) + "." + RandomHex() + ".tmp";
      HANDLE file = CreateFileW(Utf16FromUtf8(candidate).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
      if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        staged_ = candidate;
      } else if (GetLastError() != ERROR_FILE_EXISTS) {
        return ErrnoOf(GetLastError());
      }
    }
    if (staged_.empty()) return EEXIST;
  }
  *path = staged_;
  return 0;
}

int FileReplacement::ReadStaged(std::string* bytes) const {
  if (staged_.empty()) return ENOENT;
  std::ifstream in(std::filesystem::path(Utf16FromUtf8(staged_)), std::ios::binary);
  if (!in) return ENOENT;
  std::ostringstream text;
  text << in.rdbuf();
  *bytes = text.str();
  return 0;
}

int FileReplacement::Commit(std::string_view bytes, const PrepareNewFile& prepare) {
  return CommitReplacement(bytes, prepare);
}

int FileReplacement::CommitReplacement(std::string_view bytes, const PrepareNewFile& prepare) {
  std::string staged;
  if (const int status = Stage(&staged); status != 0) return status;
  const int fd = _wopen(Utf16FromUtf8(staged).c_str(), _O_WRONLY | _O_TRUNC | _O_BINARY);
  if (fd < 0) return errno;
  int status = WriteAll(fd, bytes);
  if (status == 0 && prepare) status = prepare(fd);
  if (status == 0 && _commit(fd) != 0) status = errno;
  if (_close(fd) != 0 && status == 0) status = errno;
  if (status != 0) return status;
  // A read-only old file cannot be replaced; its attributes go to the new one.
  const DWORD old_attributes = exists_ ? GetFileAttributesA(target_.c_str()) : INVALID_FILE_ATTRIBUTES;
  if (old_attributes != INVALID_FILE_ATTRIBUTES && (old_attributes & FILE_ATTRIBUTE_READONLY)) {
    SetFileAttributesA(target_.c_str(), old_attributes & ~FILE_ATTRIBUTE_READONLY);
  }
  const BOOL moved =
      old_attributes != INVALID_FILE_ATTRIBUTES
          ? ReplaceFileW(Utf16FromUtf8(target_).c_str(), Utf16FromUtf8(staged).c_str(), nullptr,
                         REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
          : MoveFileExW(Utf16FromUtf8(staged).c_str(), Utf16FromUtf8(target_).c_str(), MOVEFILE_WRITE_THROUGH);
  if (!moved) {
    const DWORD error = GetLastError();
    if (old_attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(target_.c_str(), old_attributes);
    return ErrnoOf(error);
  }
  staged_.clear();
  if (old_attributes != INVALID_FILE_ATTRIBUTES && !prepare) SetFileAttributesA(target_.c_str(), old_attributes);
  return 0;
}

int FileReplacement::CommitDirect(std::string_view bytes) { return CommitReplacement(bytes, {}); }

int ReplaceFileContents(const std::string& path, std::string_view bytes, const PrepareNewFile& prepare) {
  std::unique_ptr<FileReplacement> replacement;
  if (const int status = FileReplacement::Begin(path, &replacement); status != 0) return status;
  return replacement->Commit(bytes, prepare);
}

// The attributes of the file open as `descriptor`; Windows keeps no mode.
int WriteDescriptorAttributes(int descriptor, uint32_t attributes, unsigned) {
  FILE_BASIC_INFO info {};
  const HANDLE file = reinterpret_cast<HANDLE>(_get_osfhandle(descriptor));
  if (file == INVALID_HANDLE_VALUE) return EBADF;
  info.FileAttributes = attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
  return SetFileInformationByHandle(file, FileBasicInfo, &info, sizeof(info)) ? 0 : ErrnoOf(GetLastError());
}

}  // namespace orvane::platform
