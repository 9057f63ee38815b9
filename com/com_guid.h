// The server's identifiers as GUID values, read from their text in
// com/guids.h.
#pragma once

#include <windows.h>

namespace orvane::com {

// The GUID written as 8-4-4-4-12 hexadecimal digits (no braces).
GUID GuidFromText(const char* text);

const GUID& LibraryGuid();
const GUID& ClassGuid();
const GUID& DispatchGuid();
const GUID& EventsGuid();

}  // namespace orvane::com
