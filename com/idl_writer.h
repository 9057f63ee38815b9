// Writes the type library RegistryEditor as IDL text from the dispatch
// table and the enumeration table, so that the compiled library can never
// disagree with the members the control dispatches. Pure text; no Windows.
#pragma once

#include <string>

namespace orvane::com {

// The whole IDL source: the enumerations, the dispinterface _Quorvel with
// every member (identifier, parameters, flags, defaults, help), the empty
// event dispinterface __Quorvel and the coclass Quorvel.
std::string TypeLibraryIdl();

}  // namespace orvane::com
