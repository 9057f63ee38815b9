#include "store/name_case.h"

#include <algorithm>

#include "store/upper_case_table.h"

namespace orvane::platform {
namespace {

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsAscii(char c) { return static_cast<unsigned char>(c) < 0x80; }

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length of the well-formed sequence that `lead` starts and the range
// its second byte must lie in (which rules out overlong forms, surrogates
// and code points above U+10FFFF); 0 when `lead` starts none.
struct LeadByte {
  size_t length;
  unsigned char second_min;
  unsigned char second_max;
};

LeadByte Lead(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return {2, 0x80, 0xBF};
  if (lead == 0xE0) return {3, 0xA0, 0xBF};
  if (lead == 0xED) return {3, 0x80, 0x9F};
  if (lead >= 0xE1 && lead <= 0xEF) return {3, 0x80, 0xBF};
  if (lead == 0xF0) return {4, 0x90, 0xBF};
  if (lead >= 0xF1 && lead <= 0xF3) return {4, 0x80, 0xBF};
  if (lead == 0xF4) return {4, 0x80, 0x8F};
  return {0, 0, 0};
}

// The code point of the well-formed sequence at `at`, with its length;
// length 0 when the bytes there are not one.
TextUnit DecodeAt(std::string_view text, size_t at) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[at + i]); };
  const LeadByte lead = Lead(byte(0));
  if (lead.length == 0 || text.size() - at < lead.length) return {0, 0};
  if (byte(1) < lead.second_min || byte(1) > lead.second_max) return {0, 0};
  static constexpr unsigned char kLeadMask[] = {0, 0, 0x1F, 0x0F, 0x07};
  uint32_t code_point = byte(0) & kLeadMask[lead.length];
  for (size_t i = 1; i < lead.length; ++i) {
    if (!IsContinuation(byte(i))) return {0, 0};
    code_point = (code_point << 6) | (byte(i) & 0x3F);
  }
  return {code_point, lead.length};
}

// Appends the folded code point (not ASCII) in UTF-8, except for the lead
// byte of what UTF-16 holds in two units: those sort between U+D7FF and
// U+E000 in UTF-16, so their leads F0..F4 become EE..F2 and the leads EE, EF
// of U+E000..U+FFFF become F3, F4. The bytes then sort as UTF-16 does.
void AppendKeyUnit(std::string& out, uint32_t code_point) {
  if (code_point < 0x800) {
    out += static_cast<char>(0xC0 | (code_point >> 6));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  } else if (code_point < 0x10000) {
    const uint32_t lead = 0xE0 | (code_point >> 12);
    out += static_cast<char>(code_point >= 0xE000 ? lead + 5 : lead);
    out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  } else {
    out += static_cast<char>((0xF0 | (code_point >> 18)) - 2);
    out += static_cast<char>(0x80 | ((code_point >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  }
}

}  // namespace

uint32_t UpperCodePoint(uint32_t code_point) {
  if (code_point < 0x80) return static_cast<uint32_t>(UpperAscii(static_cast<char>(code_point)));
  if (code_point > 0xFFFF) return code_point;
  const UpperCaseRun* end = kUpperCaseRuns + kUpperCaseRunCount;
  const UpperCaseRun* run = std::upper_bound(
      kUpperCaseRuns, end, code_point, [](uint32_t c, const UpperCaseRun& r) { return c < r.first; });
  if (run == kUpperCaseRuns) return code_point;
  --run;
  if (code_point > run->last || (code_point - run->first) % run->stride != 0) return code_point;
  return static_cast<uint32_t>(static_cast<int32_t>(code_point) + run->delta);
}

TextUnit FoldedUnitAt(std::string_view text, size_t at) {
  const char first = text[at];
  if (IsAscii(first)) return {static_cast<uint32_t>(UpperAscii(first)), 1};
  const TextUnit decoded = DecodeAt(text, at);
  if (decoded.length == 0) return {kRawByte + static_cast<unsigned char>(first), 1};
  return {UpperCodePoint(decoded.folded), decoded.length};
}

void AppendFolded(std::string& out, std::string_view text) {
  size_t at = 0;
  while (at < text.size()) {
    // A run of ASCII bytes is copied whole, then upper-cased in place.
    size_t end = at;
    while (end < text.size() && IsAscii(text[end])) ++end;
    if (end > at) {
      const size_t from = out.size();
      out.append(text.data() + at, end - at);
      for (size_t i = from; i < out.size(); ++i) out[i] = UpperAscii(out[i]);
      at = end;
      continue;
    }
    const TextUnit unit = FoldedUnitAt(text, at);
    if (unit.folded >= kRawByte) {
      // A byte that is not UTF-8 is marked (F8 never occurs in UTF-8), so it
      // never reads as part of an encoded character; such names sort last.
      out += static_cast<char>(0xF8);
      out += text[at];
    } else {
      AppendKeyUnit(out, unit.folded);
    }
    at += unit.length;
  }
}

std::string FoldCase(std::string_view text) {
  std::string folded;
  folded.reserve(text.size());
  AppendFolded(folded, text);
  return folded;
}

size_t Utf16Length(std::string_view text) {
  size_t units = 0;
  for (size_t at = 0; at < text.size();) {
    if (IsAscii(text[at])) {
      ++units;
      ++at;
      continue;
    }
    // Only a well-formed four-byte sequence encodes a character beyond the
    // Basic Multilingual Plane: a surrogate pair.
    const size_t length = FoldedUnitAt(text, at).length;
    units += length == 4 ? 2 : 1;
    at += length;
  }
  return units;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  size_t i = 0;
  size_t j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsAscii(a[i]) && IsAscii(b[j])) {
      if (UpperAscii(a[i++]) != UpperAscii(b[j++])) return false;
      continue;
    }
    const TextUnit x = FoldedUnitAt(a, i);
    const TextUnit y = FoldedUnitAt(b, j);
    if (x.folded != y.folded) return false;
    i += x.length;
    j += y.length;
  }
  return i == a.size() && j == b.size();
}

size_t FoldedPrefixLength(std::string_view text, std::string_view prefix) {
  size_t i = 0;
  size_t j = 0;
  while (j < prefix.size()) {
    if (i >= text.size()) return std::string_view::npos;
    const TextUnit x = FoldedUnitAt(text, i);
    const TextUnit y = FoldedUnitAt(prefix, j);
    if (x.folded != y.folded) return std::string_view::npos;
    i += x.length;
    j += y.length;
  }
  return i;
}

}  // namespace orvane::platform
