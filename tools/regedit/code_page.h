// Conversion of UTF-16LE text (version 5 registration files) to the ANSI
// code page 1252 in which the registry keeps its names and strings. One
// converter per thread: it owns an iconv descriptor and is not shareable
// (on Windows the system converts; code_page_windows.cpp).
#pragma once

#ifndef _WIN32
#include <iconv.h>
#endif

#include <string>
#include <string_view>

namespace orvane::regedit {

class AnsiConverter {
 public:
  AnsiConverter();  // throws std::runtime_error when iconv lacks CP1252
  ~AnsiConverter();
  AnsiConverter(const AnsiConverter&) = delete;
  AnsiConverter& operator=(const AnsiConverter&) = delete;

  // Converts UTF-16LE bytes to code page 1252. A character the code page
  // lacks, or an unpaired surrogate, becomes "?" (as Windows' conversion
  // does); the five code points 1252 leaves undefined (U+0081, U+008D,
  // U+008F, U+0090, U+009D) map to the bytes of the same value; an odd
  // final byte is dropped.
  std::string FromUtf16Le(std::string_view bytes) const;

 private:
#ifdef _WIN32
  void* cd_ = nullptr;  // unused: Windows converts with its own code page tables
#else
  iconv_t cd_;
#endif
};

}  // namespace orvane::regedit
