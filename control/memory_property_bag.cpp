// MemoryPropertyBag: the entries in memory and their bag file, saved whole
// through the platform's file replacement.
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>

#include "control/property_bag_file.h"
#include "platform/file_replace.h"
#include "orvane/property_bag.h"
#include "orvane/runtime_errors.h"

namespace orvane {
namespace {

// Whether the folder a file would go in exists: a missing one is "Path
// not found" rather than "File not found".
bool FolderExists(const std::filesystem::path& file) {
  std::error_code ignored;
  return std::filesystem::is_directory(file.parent_path().empty() ? "." : file.parent_path(), ignored);
}

// The file functions take C strings, which would end the name at a NUL and
// reach another file: such a name is the runtime's file error 75 (EINVAL).
void RefuseNulInFileName(const std::filesystem::path& file) {
  if (file.native().find('\0') != std::filesystem::path::string_type::npos) RaiseFileError(EINVAL);
}

}  // namespace

Variant MemoryPropertyBag::ReadProperty(std::string_view name, const Variant& default_value) {
  for (const Entry& entry : entries_) {
    if (SamePropertyName(entry.first, name)) return entry.second;
  }
  return default_value;
}

void MemoryPropertyBag::WriteProperty(std::string_view name, const Variant& value, const Variant&) {
  for (Entry& entry : entries_) {
    if (SamePropertyName(entry.first, name)) {
      entry.second = value;
      return;
    }
  }
  entries_.emplace_back(std::string(name), value);
}

MemoryPropertyBag MemoryPropertyBag::LoadFile(const std::filesystem::path& file) {
  RefuseNulInFileName(file);
  errno = 0;
  std::ifstream in(file, std::ios::binary);
  if (!in) RaiseFileError(errno ? errno : ENOENT);
  std::ostringstream text;
  text << in.rdbuf();
  MemoryPropertyBag bag;
  try {
    bag.entries_ = ParsePropertyBag(text.str());
  } catch (const PropertyBagSyntaxError& error) {
    throw PropertyBagFileError(file.string() + ":" + std::to_string(error.line()) + ": " + error.what());
  }
  return bag;
}

void MemoryPropertyBag::SaveFile(const std::filesystem::path& file) const {
  RefuseNulInFileName(file);
  const std::string text = FormatPropertyBag(entries_);
  std::unique_ptr<platform::FileReplacement> replacement;
  // A file its owner made read-only is not replaced behind its back (70).
  int status = platform::FileReplacement::Begin(file.string(), &replacement);
  if (status == 0) status = replacement->Commit(text);
  if (status != 0) RaiseFileError(status, FolderExists(file) ? FilePart::kFile : FilePart::kDirectory);
}

}  // namespace orvane
