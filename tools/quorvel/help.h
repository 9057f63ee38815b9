// The text of the Help statement, made from the dispatch table alone:
// the list of members with their help strings, and one member's signature,
// identifier and help context. Pure functions of the (static) table.
#pragma once

#include <ostream>

#include "orvane/dispatch.h"

namespace quorvel {

// "Members of Quorvel ..." then one line per member in slot order:
// two spaces, the name padded, "property" or "method", the help string.
void PrintMemberList(std::ostream& out);

// The member's kind, help string, identifier, help context, and its
// parameters (or, for a property, its type) and result.
void PrintMemberHelp(const orvane::MemberInfo& member, std::ostream& out);

}  // namespace quorvel
