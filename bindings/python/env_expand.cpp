// %NAME% expansion from the process environment (see env_expand.h).
#include "env_expand.h"

#include <strings.h>

#include <cstdlib>
#include <optional>

extern char** environ;

namespace orvane::python {
namespace {

std::optional<std::string> Variable(const std::string& name) {
  if (name.empty()) return std::nullopt;
  if (const char* value = std::getenv(name.c_str())) return std::string(value);
  for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
    const std::string_view text(*entry);
    if (text.size() > name.size() && text[name.size()] == '=' &&
        strncasecmp(text.data(), name.c_str(), name.size()) == 0) {
      return std::string(text.substr(name.size() + 1));
    }
  }
  return std::nullopt;
}

}  // namespace

std::string ExpandEnvironment(std::string_view text) {
  std::string result;
  while (!text.empty()) {
    const size_t open = text.find('%');
    const size_t close = open == std::string_view::npos ? open : text.find('%', open + 1);
    if (close == std::string_view::npos) {
      result += text;
      break;
    }
    result += text.substr(0, open);
    const std::optional<std::string> value = Variable(std::string(text.substr(open + 1, close - open - 1)));
    result += value ? *value : std::string(text.substr(open, close - open + 1));
    text.remove_prefix(close + 1);
  }
  return result;
}

}  // namespace orvane::python
