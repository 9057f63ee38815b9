// Header insertion: the exported text is copied line by line with the
// header after each "REGEDIT4" line; every line ends with CR LF.
#include "regfiles/reg_file_header.h"

#include <algorithm>

#include "about/about_box.h"
#include "orvane/version.h"

namespace orvane {
namespace {

const std::string kHyphens(65, '-');
constexpr std::string_view kLineEnd = "\r\n";

// The next line of `text` from *at without its LF and a CR before it;
// false at the end of the text.
bool NextLine(std::string_view text, size_t* at, std::string_view* line) {
  if (*at >= text.size()) return false;
  const size_t end = std::min(text.find('\n', *at), text.size());
  *line = text.substr(*at, end - *at);
  *at = end + 1;
  if (!line->empty() && line->back() == '\r') line->remove_suffix(1);
  return true;
}

void WriteLine(std::string* out, std::string_view text) {
  out->append(text);
  out->append(kLineEnd);
}

void WriteHeaderLines(std::string* out, const std::string& header) {
  WriteLine(out, "");
  for (const std::string& line : CommentLines(header)) WriteLine(out, "; " + line);
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

std::string WithHeader(std::string_view text, const std::string& comment) {
  const std::string header = HeaderText(comment);
  std::string out;
  out.reserve(text.size() + header.size() + 64);
  size_t at = 0;
  std::string_view line;
  while (NextLine(text, &at, &line)) {
    WriteLine(&out, line);
    if (line.substr(0, 8) == "REGEDIT4") WriteHeaderLines(&out, header);
  }
  return out;
}

}  // namespace orvane
