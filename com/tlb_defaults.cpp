// widl stores a function's parameter defaults as one 32-bit slot per
// parameter: -1 without a default, else a small value inline as
// 0x80000000 | vt << 26 | value. The slots of a function are found by
// their whole sequence, as the table predicts widl wrote them, so a stray
// equal word elsewhere in the file is never touched.
#include "com/tlb_defaults.h"

#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

#include "orvane/dispatch.h"

namespace orvane::com {
namespace {

constexpr uint32_t kNoDefault = 0xffffffffu;
constexpr uint32_t kVtI2 = 2, kVtI4 = 3, kVtBool = 11, kVtVariant = 12, kVtUi1 = 17;

// The type widl writes a parameter's default as (enumerations as VT_I4).
uint32_t WidlType(const ParamInfo& param) {
  switch (param.type) {
    case VarType::kInteger: return kVtI2;
    case VarType::kBoolean: return kVtBool;
    case VarType::kByte: return kVtUi1;
    case VarType::kVariant: return kVtVariant;
    default: return kVtI4;
  }
}

uint32_t Inline(uint32_t vt, int32_t value) {
  uint32_t bits = static_cast<uint32_t>(value);
  if (vt == kVtI2 || vt == kVtBool) bits &= 0xffffu;
  if (vt == kVtUi1) bits &= 0xffu;
  return 0x80000000u | vt << 26 | (bits & 0x3ffffffu);
}

uint32_t WordAt(const std::string& bytes, size_t at) {
  uint32_t word = 0;
  std::memcpy(&word, bytes.data() + at, 4);  // the file is little-endian, as is every host we build on
  return word;
}

// Every byte offset of the Variant slots of `member`'s defaults.
void FindVariantSlots(const std::string& bytes, const MemberInfo& member, std::set<size_t>& slots) {
  std::vector<uint32_t> expected;
  for (const ParamInfo& param : member.params) {
    expected.push_back(param.has_default ? Inline(WidlType(param), ToLong(param.default_value)) : kNoDefault);
  }
  const size_t length = expected.size() * 4;
  for (size_t at = 0; at + length <= bytes.size(); ++at) {
    bool match = true;
    for (size_t i = 0; i < expected.size() && match; ++i) match = WordAt(bytes, at + 4 * i) == expected[i];
    if (!match) continue;
    for (size_t i = 0; i < expected.size(); ++i) {
      if (member.params[i].has_default && member.params[i].type == VarType::kVariant) slots.insert(at + 4 * i);
    }
  }
}

}  // namespace

bool FixVariantDefaults(std::string& library, std::string& error) {
  std::set<size_t> slots;
  size_t wanted = 0;
  for (const MemberInfo& member : QuorvelMembers()) {
    bool has_variant_default = false;
    for (const ParamInfo& param : member.params) {
      if (param.has_default && param.type == VarType::kVariant) {
        has_variant_default = true;
        ++wanted;
      }
    }
    if (has_variant_default && member.kind == MemberKind::kMethod) FindVariantSlots(library, member, slots);
  }
  if (slots.size() != wanted) {
    error = "found " + std::to_string(slots.size()) + " Variant defaults where the table has " +
            std::to_string(wanted);
    return false;
  }
  // Rewrite each slot with the default's own type: the value stays.
  for (size_t at : slots) {
    const uint32_t word = WordAt(library, at);
    const uint32_t value = word & 0x3ffffffu;
    uint32_t vt = kVtI2;
    for (const MemberInfo& member : QuorvelMembers()) {
      for (const ParamInfo& param : member.params) {
        if (param.has_default && param.type == VarType::kVariant &&
            (static_cast<uint32_t>(ToLong(param.default_value)) & 0x3ffffffu) == value) {
          vt = static_cast<uint32_t>(param.default_value.type());
        }
      }
    }
    const uint32_t fixed = Inline(vt, static_cast<int32_t>(value));
    std::memcpy(library.data() + at, &fixed, 4);
  }
  return true;
}

}  // namespace orvane::com
