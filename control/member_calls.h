// The C++ entry of every dispatch member: how a late-bound call reaches the
// control's property procedures and methods once its arguments have been
// converted to the parameters' types. Static data shared by all controls.
#pragma once

#include <cstdint>
#include <vector>

#include "orvane/quorvel.h"
#include "orvane/variant.h"

namespace orvane {

struct MemberCalls {
  int32_t dispid;
  Variant (*get)(Quorvel&);              // properties: the read procedure
  void (*put)(Quorvel&, const Variant&);  // properties: the assignment, given a value of the property's type
  // Methods: `args` holds one value of each parameter's type, in order; the
  // method's by-reference results are left in it, also when it raises.
  Variant (*call)(Quorvel&, std::vector<Variant>& args);
};

// The entry of a member, or nullptr.
const MemberCalls* FindMemberCalls(int32_t dispid);

}  // namespace orvane
