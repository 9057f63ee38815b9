// Parsing of the fixed identifiers' text into GUID values.
#include "com/com_guid.h"

#include "com/guids.h"

namespace orvane::com {
namespace {

unsigned HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return c - 'A' + 10;
}

// Reads `digits` hexadecimal digits from `text`, skipping dashes.
unsigned long long ReadHex(const char*& text, int digits) {
  unsigned long long value = 0;
  for (int i = 0; i < digits; ++i) {
    if (*text == '-') ++text;
    value = value * 16 + HexDigit(*text++);
  }
  return value;
}

}  // namespace

GUID GuidFromText(const char* text) {
  GUID guid{};
  guid.Data1 = static_cast<unsigned long>(ReadHex(text, 8));
  guid.Data2 = static_cast<unsigned short>(ReadHex(text, 4));
  guid.Data3 = static_cast<unsigned short>(ReadHex(text, 4));
  for (unsigned char& byte : guid.Data4) byte = static_cast<unsigned char>(ReadHex(text, 2));
  return guid;
}

const GUID& LibraryGuid() {
  static const GUID guid = GuidFromText(kLibraryId);
  return guid;
}

const GUID& ClassGuid() {
  static const GUID guid = GuidFromText(kClassId);
  return guid;
}

const GUID& DispatchGuid() {
  static const GUID guid = GuidFromText(kDispatchId);
  return guid;
}

const GUID& EventsGuid() {
  static const GUID guid = GuidFromText(kEventsId);
  return guid;
}

}  // namespace orvane::com
