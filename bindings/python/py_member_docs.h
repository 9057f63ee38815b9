// The docstrings of orvane.Quorvel's members: the signature, the type
// library's help string, and the Python data forms of each parameter and
// of the property or result (from the member table's types, with what the
// value-carrying members hold by value type).
#pragma once

#include <string>

#include "orvane/dispatch.h"

namespace orvane::python {

std::string MemberDoc(const MemberInfo& member);

}  // namespace orvane::python
