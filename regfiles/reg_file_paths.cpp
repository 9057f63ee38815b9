#include "regfiles/reg_file_paths.h"

#include <algorithm>

namespace orvane {

std::string WithDefaultExtension(const std::string& path) {
  if (path.size() >= 4 && path[path.size() - 4] == '.') return path;
  return path + ".reg";
}

std::string QuoteUnlessQuoted(const std::string& text) {
  if (!text.empty() && (text.front() == '"' || text.back() == '"')) return text;
  return '"' + text + '"';
}

std::string WithoutQuotes(const std::string& path) {
  size_t begin = !path.empty() && path.front() == '"' ? 1 : 0;
  size_t end = path.size() > begin && path.back() == '"' ? path.size() - 1 : path.size();
  return path.substr(begin, end - begin);
}

std::string HostFilePath(std::string path) {
#ifndef _WIN32
  std::replace(path.begin(), path.end(), '\\', '/');
#endif
  return path;
}

}  // namespace orvane
