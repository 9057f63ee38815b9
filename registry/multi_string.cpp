// Splitting a multi-string's data into entries and joining entries back.
#include "registry/multi_string.h"

namespace orvane {

std::string_view MultiStringBody(std::string_view data) {
  for (int dropped = 0; dropped < 2 && !data.empty() && data.back() == '\0'; ++dropped) data.remove_suffix(1);
  return data;
}

std::vector<std::string> MultiStringEntries(std::string_view data) {
  std::vector<std::string> entries;
  const std::string_view body = MultiStringBody(data);
  if (body.empty()) return entries;
  size_t start = 0;
  for (size_t end = body.find('\0'); end != std::string_view::npos; end = body.find('\0', start)) {
    entries.emplace_back(body.substr(start, end - start));
    start = end + 1;
  }
  entries.emplace_back(body.substr(start));
  return entries;
}

std::string MultiStringFromEntries(const std::vector<std::string>& entries) {
  std::string data;
  for (const std::string& entry : entries) {
    data += entry;
    data.push_back('\0');
  }
  data.push_back('\0');
  if (entries.empty()) data.push_back('\0');
  return data;
}

}  // namespace orvane
