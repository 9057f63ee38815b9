// The dispatch interface _Quorvel as data: every member with its identifier,
// parameters, result, help context and help string, and a late-bound call
// by name or identifier that converts arguments as the hosting runtime does
// and writes by-reference parameters back. The table is static and shared.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "orvane/quorvel.h"
#include "orvane/variant.h"

namespace orvane {

enum class MemberKind { kProperty, kMethod };

struct ParamInfo {
  std::string name;
  VarType type;           // kString, kLong, kInteger, kByte, kBoolean or kVariant
  std::string type_name;  // as the type library spells it: "String", "defHKey", "Variant", ...
  bool by_ref = true;
  bool optional = false;
  bool has_default = false;
  Variant default_value;  // meaningful when has_default
};

struct MemberInfo {
  int32_t dispid;
  std::string name;
  MemberKind kind;
  std::vector<ParamInfo> params;  // for a property: the one assigned value
  VarType result = VarType::kEmpty;  // kEmpty: no result
  std::string result_type_name;
  int32_t help_context = 0;  // 0: none
  std::string help_string;   // empty: none
};

// All members in slot order.
const std::vector<MemberInfo>& QuorvelMembers();

// Look-ups; nullptr when there is no such member. Names compare without
// regard to letter case.
const MemberInfo* FindMember(std::string_view name);
const MemberInfo* FindMember(int32_t dispid);

enum class InvokeKind { kPropertyGet, kPropertyPut, kMethod };

// Calls `member` on `control`. `args` holds one pointer per parameter
// passed, in order; nullptr marks an omitted optional argument (a missing
// trailing argument is omitted too). An omitted optional parameter takes
// its default, or, without one, the zero of its type (0, "", False).
// Each argument is converted to its parameter's type with the runtime's
// conversions (raising their standard errors: 13, 6, 94) before the member
// runs; after the member returns or raises, every by-reference argument
// receives the value the member left in it, as the parameter's type.
// Properties: kPropertyGet (or kMethod) reads with no argument, kPropertyPut
// assigns exactly one. Methods: kMethod or kPropertyGet calls them.
// Returns the result, or Empty for a member without one. Raises 449 for a
// missing required argument, 450 for too many, 438 for a put on a method.
Variant Invoke(Quorvel& control, const MemberInfo& member, InvokeKind kind, const std::vector<Variant*>& args);

// The enumeration members of the type library, as Long constants.
struct EnumConstant {
  std::string enum_name;  // "defHKey", "QVOpenMode", ...
  std::string name;       // "HKEY_LOCAL_MACHINE", "OpenOnly", ...
  int32_t value;
};
const std::vector<EnumConstant>& QuorvelEnumConstants();

}  // namespace orvane
