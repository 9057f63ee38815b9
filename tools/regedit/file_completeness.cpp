// The checks look at the file's text as bytes: a UTF-16LE file (byte-order
// mark FF FE) is narrowed first, each character other than ASCII becoming
// "?", which keeps every line end, backslash and marker where it was.
#include "tools/regedit/file_completeness.h"

#include <strings.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "tools/regedit/backup_marker.h"

namespace orvane::regedit {
namespace {

constexpr std::string_view kBackupFileName = "Registry.orv";

// The text of `bytes`, UTF-16LE narrowed; false for a cut UTF-16 character.
bool NarrowText(std::string_view bytes, std::string* text) {
  if (bytes.size() < 2 || bytes[0] != '\xff' || bytes[1] != '\xfe') {
    *text = bytes;
    return true;
  }
  if (bytes.size() % 2 != 0) return false;
  text->clear();
  for (size_t at = 2; at < bytes.size(); at += 2) {
    const bool ascii = bytes[at + 1] == 0 && static_cast<unsigned char>(bytes[at]) < 0x80;
    text->push_back(ascii ? bytes[at] : '?');
  }
  return true;
}

// The lines of `text` without their line ends (CR LF or LF).
std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  return lines;
}

bool IsBlank(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

// A backup: named as the control names it, or its header (the lines before
// the first key) holds the backup comment.
bool IsBackup(const std::string& path, const std::vector<std::string_view>& lines) {
  const std::string name = std::filesystem::path(path).filename().string();
  if (strcasecmp(name.c_str(), std::string(kBackupFileName).c_str()) == 0) return true;
  for (std::string_view line : lines) {
    if (!line.empty() && line.front() == '[') break;
    if (line == kBackupCommentLine) return true;
  }
  return false;
}

}  // namespace

std::string IncompleteFileReason(const std::string& path, std::string_view bytes) {
  std::string text;
  if (!NarrowText(bytes, &text)) return "it ends inside a character";
  if (text.empty()) return "it is empty";
  if (text.back() != '\n') return "its last line has no line end";
  const std::vector<std::string_view> lines = Lines(text);
  size_t last = lines.size();
  while (last > 0 && IsBlank(lines[last - 1])) --last;
  const std::string_view last_line = last > 0 ? lines[last - 1] : std::string_view();
  if (!last_line.empty() && last_line.back() == '\\') return "it ends inside a value continued on the next line";
  if (IsBackup(path, lines) && last_line != kBackupEndLine) return "it is a backup without its end marker";
  return "";
}

}  // namespace orvane::regedit
