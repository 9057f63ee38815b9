// widl writes the default of a VARIANT parameter with the type VT_VARIANT,
// which no reader can turn into a value. This rewrites each such default in
// a compiled type library as the default's own type (Integer 0 becomes
// VT_I2 0), checking that exactly the parameters of the dispatch table that
// have one were found. Pure bytes; no Windows.
#pragma once

#include <string>

namespace orvane::com {

// Rewrites the defaults in `library` (the .tlb file's bytes). Returns false
// with a message when the count found differs from the table's.
bool FixVariantDefaults(std::string& library, std::string& error);

}  // namespace orvane::com
