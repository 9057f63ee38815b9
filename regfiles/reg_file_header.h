// The comment header the control puts into an exported registration file:
// after each line starting with "REGEDIT4", an empty line and one "; " line
// per line of the header text. Stateless.
#pragma once

#include <string>
#include <string_view>
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

// `text` (an exported file) with the header of `comment` after each line
// starting with "REGEDIT4". Every line comes back ending in CR LF.
std::string WithHeader(std::string_view text, const std::string& comment);

}  // namespace orvane
