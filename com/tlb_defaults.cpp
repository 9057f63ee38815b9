// widl stores a function's parameter defaults as one 32-bit slot per
// parameter: -1 without a default, else a small value inline as
// 0x80000000 | vt << 26 | value. The slots of a function are found by
// their whole sequence, as the table predicts widl wrote them, so a stray
// equal word elsewhere in the file is never touched.
#include "com/tlb_defaults.h"

#include <cstdint>
#include <cstring>
#include <map>
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

// The Variant slots of `member`'s defaults, by byte offset, each with the
// type its default should have.
void FindVariantSlots(const std::string& bytes, const MemberInfo& member, std::map<size_t, uint32_t>& slots) {
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
      const ParamInfo& param = member.params[i];
      if (param.has_default && param.type == VarType::kVariant) {
        slots[at + 4 * i] = static_cast<uint32_t>(param.default_value.type());
      }
    }
  }
}

}  // namespace

bool FixVariantDefaults(std::string& library, std::string& error) {
  std::map<size_t, uint32_t> slots;
  size_t wanted = 0;
  for (const MemberInfo& member : QuorvelMembers()) {
    if (member.kind != MemberKind::kMethod) continue;
    const size_t before = wanted;
    for (const ParamInfo& param : member.params) wanted += param.has_default && param.type == VarType::kVariant;
    if (wanted != before) FindVariantSlots(library, member, slots);
  }
  if (slots.size() != wanted) {
    error = "found " + std::to_string(slots.size()) + " Variant defaults where the table has " +
            std::to_string(wanted);
    return false;
  }
  // The value stays; only its type changes.
  for (const auto& [at, vt] : slots) {
    const uint32_t fixed = Inline(vt, static_cast<int32_t>(WordAt(library, at) & 0x3ffffffu));
    std::memcpy(library.data() + at, &fixed, 4);
  }
  return true;
}

}  // namespace orvane::com
