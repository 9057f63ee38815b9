// Header insertion: the exported file is copied line by line into
// `path~` with the header after its "REGEDIT4" line, then `path~` is copied
// back over the export (the exported file keeps its identity, and with it
// its attributes) and removed.
#include "regfiles/reg_file_header.h"

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <memory>

#include "about/about_box.h"
#include "orvane/runtime_errors.h"
#include "orvane/version.h"

#ifdef _WIN32
#define getc_unlocked _getc_nolock  // one thread reads the file: no stream locking
#endif

namespace orvane {
namespace {

const std::string kHyphens(65, '-');
constexpr std::string_view kLineEnd = "\r\n";

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File OpenOrRaise(const std::string& path, const char* mode) {
  File file(std::fopen(path.c_str(), mode));
  if (!file) RaiseFileError(errno);
  return file;
}

// One line without its LF and a CR before it; false at the end of the file.
bool ReadLine(std::FILE* in, std::string* line) {
  line->clear();
  int c = 0;
  while ((c = getc_unlocked(in)) != EOF && c != '\n') line->push_back(static_cast<char>(c));
  if (std::ferror(in)) RaiseFileError(errno ? errno : EIO);
  if (c == EOF && line->empty()) return false;
  if (!line->empty() && line->back() == '\r') line->pop_back();
  return true;
}

void WriteLine(std::FILE* out, std::string_view text) {
  if (std::fwrite(text.data(), 1, text.size(), out) != text.size() ||
      std::fwrite(kLineEnd.data(), 1, kLineEnd.size(), out) != kLineEnd.size()) {
    RaiseFileError(errno ? errno : EIO);
  }
}

void WriteHeaderLines(std::FILE* out, const std::string& header) {
  WriteLine(out, "");
  for (const std::string& line : CommentLines(header)) WriteLine(out, "; " + line);
}

void CloseOrRaise(File file) {
  if (std::fclose(file.release()) != 0) RaiseFileError(errno);
}

void CopyFileOver(const std::string& from, const std::string& to) {
  File in = OpenOrRaise(from, "rb");
  File out = OpenOrRaise(to, "wb");
  char block[65536];
  size_t count = 0;
  while ((count = std::fread(block, 1, sizeof(block), in.get())) > 0) {
    if (std::fwrite(block, 1, count, out.get()) != count) RaiseFileError(errno ? errno : EIO);
  }
  if (std::ferror(in.get())) RaiseFileError(errno ? errno : EIO);
  CloseOrRaise(std::move(out));
}

}  // namespace

std::vector<std::string> CommentLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end = text.find_first_of("|\r\n"); ; end = text.find_first_of("|\r\n", start)) {
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return lines;
}

std::string HeaderText(const std::string& comment) {
  return kHyphens + "|Orvane Version " ORVANE_VERSION "|Internet: " + kProductWebAddress + "|InfoMail: <" +
         kContactAddress + ">|" + kHyphens + "|" + comment;
}

void InsertHeader(const std::string& path, const std::string& comment) {
  const std::string header = HeaderText(comment);
  const std::string temporary = path + "~";
  {
    File in = OpenOrRaise(path, "rb");
    File out = OpenOrRaise(temporary, "wb");
    std::string line;
    while (ReadLine(in.get(), &line)) {
      WriteLine(out.get(), line);
      if (line.compare(0, 8, "REGEDIT4") == 0) WriteHeaderLines(out.get(), header);
    }
    CloseOrRaise(std::move(out));
  }
  CopyFileOver(temporary, path);
  if (std::remove(temporary.c_str()) != 0) RaiseFileError(errno);
}

}  // namespace orvane
