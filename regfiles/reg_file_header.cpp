// Header insertion: the exported text is copied line by line with the
// header after each "REGEDIT4" line; every line ends with CR LF.
#include "regfiles/reg_file_header.h"

#include <algorithm>

#include "about/about_box.h"

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
  size_t start = 0;
  for (size_t bar = header.find('|'); ; bar = header.find('|', start)) {
    const size_t end = bar == std::string::npos ? header.size() : bar;
    WriteLine(out, "; " + header.substr(start, end - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
}

}  // namespace

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
