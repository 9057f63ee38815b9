// The comment header the control puts into an exported registration file:
// after each line starting with "REGEDIT4", an empty line and one "; " line
// per line of the header text. Stateless.
#pragma once

#include <string>
#include <vector>

namespace orvane {

// The product's web address named by the header's "Internet: " line.
inline constexpr const char* kProductWebAddress = "https://orvane.verrilan.example";

// The header text: hyphens, version line, Internet and InfoMail lines,
// hyphens, each followed by "|", then `comment` unchanged.
std::string HeaderText(const std::string& comment);

// The lines of `text`, split at every "|", CR, LF and CR LF (one break), so
// that no piece of a comment can leave its "; " line; "" gives one empty
// line.
std::vector<std::string> CommentLines(const std::string& text);

// Rewrites the file `path` with the header of `comment` inserted, through
// the temporary file `path` + "~", which is removed afterwards. Lines are
// written with CR LF. A file operation that fails raises the runtime's
// file error (53, 70, 75, ...).
void InsertHeader(const std::string& path, const std::string& comment);

}  // namespace orvane
