#include "runtime/quoted_bytes.h"

namespace orvane {
namespace {

bool IsPrintable(unsigned char c) { return c >= 32 && c <= 126; }

}  // namespace

std::string QuoteBytes(std::string_view bytes) {
  if (bytes.empty()) return "\"\"";
  std::string text;
  size_t i = 0;
  while (i < bytes.size()) {
    if (!text.empty()) text += " & ";
    if (!IsPrintable(static_cast<unsigned char>(bytes[i]))) {
      text += "Chr(" + std::to_string(static_cast<unsigned char>(bytes[i++])) + ")";
      continue;
    }
    text += '"';
    for (; i < bytes.size() && IsPrintable(static_cast<unsigned char>(bytes[i])); ++i) {
      if (bytes[i] == '"') text += '"';
      text += bytes[i];
    }
    text += '"';
  }
  return text;
}

}  // namespace orvane
