// Do, then undo: for every action code, the operation that records it is
// run through a control, its record is checked to be that code, and one
// Undo (on the same control, or on a second control of the process) must
// leave the registry exactly as it was, the journal's own keys aside.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "keyops/journal_fixture.h"
#include "orvane/quorvel.h"
#include "store/name_case.h"
#include "undo/undo_actions.h"

namespace orvane {
namespace {

using namespace testing::tree_helpers;

#ifdef _WIN32
// "[path\name]" per sub-key of `path` under HKEY_LOCAL_MACHINE, the
// product key (home of the journal) left out.
std::string NamesBelow(const std::string& path) {
  std::string text;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "<missing>\n";
  char name[1024];
  for (DWORD index = 0;; ++index) {
    DWORD length = sizeof name;
    if (RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    const std::string child = path.empty() ? name : path + "\\" + name;
    if (!platform::SameIgnoringCase(child, kProductKeyPath)) text += "[" + child + "]\n";
  }
  RegCloseKey(key);
  return text;
}

// The system registry of Windows is large (Wine's HKEY_LOCAL_MACHINE takes
// seconds to list): of HKEY_LOCAL_MACHINE the snapshot holds the names
// below the root and below SOFTWARE, and the keys the cases write there.
std::string MachineText() {
  std::string text = NamesBelow("") + NamesBelow("SOFTWARE");
  for (const std::string key : {"SOFTWARE\\Other", "SOFTWARE\\Made", "SOFTWARE\\M"}) {
    std::istringstream in(TreeText(HKEY_LOCAL_MACHINE, key));
    for (std::string line; std::getline(in, line);) {
      // "[relative]" becomes "[SOFTWARE\...\relative]", as in the whole listing.
      if (line.starts_with("[")) {
        line = "[" + key + (line == "[]" ? "" : "\\" + line.substr(1, line.size() - 2)) + "]";
      }
      text += line + "\n";
    }
  }
  return text;
}
#else
std::string MachineText() { return TreeText(HKEY_LOCAL_MACHINE, ""); }
#endif

// Keys as "[path]" lines, each followed by its values sorted: renames and
// moves re-create a value, so the creation order of values cannot survive
// an undo; names, types and bytes must. The product key, home of the
// journal, is left out.
std::string Snapshot() {
  std::istringstream in(TreeText(HKEY_USERS, "") + MachineText());
  std::string out;
  std::vector<std::string> values;
  bool skipping = false;
  auto flush = [&] {
    std::sort(values.begin(), values.end());
    for (const std::string& v : values) out += v + "\n";
    values.clear();
  };
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("[")) {
      flush();
      skipping = line.starts_with("[SOFTWARE\\Orvane");
      if (!skipping) out += line + "\n";
    } else if (!skipping) {
      values.push_back(line);
    }
  }
  flush();
  return out;
}

constexpr int32_t kUser = static_cast<int32_t>(0x80000001u);
constexpr int32_t kMachine = static_cast<int32_t>(0x80000002u);
const char* const kT = "HKEY_CURRENT_USER\\Software\\T";

void At(Quorvel& q, const std::string& global_path, const std::string& name) {
  q.GlobalKeyPath(global_path);
  q.ValueName(name);
}

void Set(Quorvel& q, const std::string& global_path, const std::string& name, int32_t type, Variant value) {
  At(q, global_path, name);
  q.ValueType(type);
  q.Value(value);
  int32_t mode = 0;
  q.SetValue(mode);
}

void Copy(Quorvel& q, const std::string& name, int32_t root, std::string path, std::string new_name) {
  At(q, "HKEY_CURRENT_USER\\Software\\T", name);
  q.CopyValue(root, path, new_name);
}

void Move(Quorvel& q, const std::string& name, int32_t root, std::string path, std::string new_name) {
  At(q, "HKEY_CURRENT_USER\\Software\\T", name);
  q.MoveValue(root, path, new_name);
}

void SetAll(Quorvel& q, const std::string& global_path, std::vector<std::vector<Variant>> rows) {
  SafeArray table(VarType::kVariant, {ArrayBound{0, static_cast<int32_t>(rows.size()) - 1}, ArrayBound{0, 2}});
  for (int32_t r = 0; r < static_cast<int32_t>(rows.size()); ++r) {
    for (int32_t c = 0; c < 3; ++c) table.set(r, c, rows[r][c]);
  }
  Variant array = Variant::Array(std::move(table));
  int32_t mode = 0;
  q.GlobalKeyPath(global_path);
  q.SetAllValues(array, mode);
}

void SetKeys(Quorvel& q, std::vector<std::string> paths) {
  SafeArray list(VarType::kVariant, {ArrayBound{0, static_cast<int32_t>(paths.size()) - 1}});
  for (int32_t i = 0; i < static_cast<int32_t>(paths.size()); ++i) list.set(i, Variant::String(paths[i]));
  Variant array = Variant::Array(std::move(list));
  q.GlobalKeyPath("HKEY_CURRENT_USER\\Software\\T");
  q.SetAllKeys(array);
}


void Rename(Quorvel& q, const std::string& name, std::string new_name) {
  At(q, kT, name);
  q.RenameValue(new_name);
}

void Delete(Quorvel& q, const std::string& global_path, const std::string& name) {
  At(q, global_path, name);
  q.DeleteValue();
}

// Runs a key method on the key `global_path`.
void OnKey(Quorvel& q, const std::string& global_path, void (Quorvel::*method)()) {
  q.GlobalKeyPath(global_path);
  (q.*method)();
}

void TransferKey(Quorvel& q, int32_t root, std::string path, bool move) {
  q.GlobalKeyPath(kT);
  move ? q.MoveKey(root, path) : q.CopyKey(root, path);
}

void RenameKey(Quorvel& q, std::string new_name) {
  q.GlobalKeyPath(kT);
  q.RenameKey(new_name);
}

struct RoundTrip {
  const char* name;
  uint8_t code;
  std::function<void(Quorvel&)> action;
  bool changes = true;  // false: the operation finds everything in place
};

void PrintTo(const RoundTrip& trip, std::ostream* out) { *out << trip.name; }

std::vector<RoundTrip> Cases() {
  using S = std::string;
  return {
      {"SetValueCreatingKeys", 0xA0, [](Quorvel& q) { Set(q, kT + S("\\New\\Deep"), "v", 1, Variant::String("x")); }},
      {"SetValueNew", 0xA1, [](Quorvel& q) { Set(q, kT, "new", 7, Variant::String("a|b")); }},
      {"SetValueReplacing", 0xA2, [](Quorvel& q) { Set(q, kT, "s", 4, Variant::Long(-3)); }},
      {"SetValueOverEmptyDefault", 0xA2,
       [](Quorvel& q) { Set(q, "HKEY_CURRENT_USER\\Software\\E", "", 1, Variant::String("now")); }},
      {"DeleteValue", 0xA3, [](Quorvel& q) { Delete(q, kT, "b"); }},
      {"DeleteValueNamedInOtherCase", 0xA3, [](Quorvel& q) { Delete(q, kT, "B"); }},
      {"DeleteEmptyDefault", 0xA3, [](Quorvel& q) { Delete(q, "HKEY_CURRENT_USER\\Software\\E", ""); }},
      {"SetAllValuesCreatingKey", 0xB0,
       [](Quorvel& q) {
         SetAll(q, kT + S("\\Bulk"), {{Variant::String("a"), Variant::String("1"), Variant::Long(1)}});
       }},
      {"SetAllValuesReplacing", 0xB1,
       [](Quorvel& q) {
         SetAll(q, kT,
                {{Variant::String("S"), Variant::String("ff"), Variant::Long(3)},
                 {Variant::String("fresh"), Variant::Long(9), Variant::Long(4)},
                 {Variant::String(" pad "), Variant::String("p"), Variant::Long(1)}});
       }},
      {"RenameValue", 0xC0, [](Quorvel& q) { Rename(q, "d", "renamed"); }},
      {"RenameValueLetterCase", 0xC0, [](Quorvel& q) { Rename(q, "s", "S"); }},
      {"RenameDefaultToNamed", 0xC0, [](Quorvel& q) { Rename(q, "", "was default"); }},
      {"MoveValueCreatingKeys", 0xC1, [](Quorvel& q) { Move(q, "d", kMachine, "SOFTWARE\\Made\\Here", "dm"); }},
      {"MoveValue", 0xC2, [](Quorvel& q) { Move(q, "s", kUser, "Software\\Dest", "s2"); }},
      {"MoveValueReplacing", 0xC3, [](Quorvel& q) { Move(q, "b", kUser, "Software\\Dest", "OLD"); }},
      {"MoveValueOntoItself", 0xC3, [](Quorvel& q) { Move(q, "s", kUser, "software\\t", "s"); }, false},
      {"CopyValueCreatingKeys", 0xC4, [](Quorvel& q) { Copy(q, "", kUser, "Software\\C1\\C2", "c"); }},
      {"CopyValue", 0xC5, [](Quorvel& q) { Copy(q, "b", kUser, "Software\\Dest", "b"); }},
      {"CopyValueReplacing", 0xC6, [](Quorvel& q) { Copy(q, "d", kUser, "Software\\Dest", "old"); }},
      {"SetKey", 0xD0, [](Quorvel& q) { OnKey(q, kT + S("\\K1\\K2"), &Quorvel::SetKey); }},
      {"SetKeyThatExists", 0xD0, [](Quorvel& q) { OnKey(q, kT, &Quorvel::SetKey); }, false},
      {"DeleteKey", 0xD1, [](Quorvel& q) { OnKey(q, kT, &Quorvel::DeleteKey); }},
      {"SetAllKeys", 0xE0, [](Quorvel& q) { SetKeys(q, {"A\\B", "\\A\\C\\", "Sub", "Z"}); }},
      {"SetAllKeysThatExist", 0xE0, [](Quorvel& q) { SetKeys(q, {"Sub"}); }, false},
      {"RenameKey", 0xF0, [](Quorvel& q) { RenameKey(q, "T9"); }},
      {"MoveKey", 0xF1, [](Quorvel& q) { TransferKey(q, kMachine, "SOFTWARE\\M\\T", true); }},
      {"CopyKey", 0xF2, [](Quorvel& q) { TransferKey(q, kUser, "Software\\K\\T", false); }},
  };
}

class UndoRoundTripTest : public testing::JournalTest,
                          public ::testing::WithParamInterface<std::tuple<RoundTrip, bool>> {
 protected:
  UndoRoundTripTest() {
    first_.InitProperties();
    second_.InitProperties();
    PutString(HKEY_CURRENT_USER, "Software\\T", "s", "text");
    PutValue(HKEY_CURRENT_USER, "Software\\T", "d", REG_DWORD, std::string("\x07\0\0\0", 4));
    PutValue(HKEY_CURRENT_USER, "Software\\T", "b", REG_BINARY, "\x0a\xff");
    PutString(HKEY_CURRENT_USER, "Software\\T", "", "def");
    PutString(HKEY_CURRENT_USER, "Software\\T\\Sub", "x", "1");
    PutString(HKEY_CURRENT_USER, "Software\\Dest", "old", "was");
    PutString(HKEY_CURRENT_USER, "Software\\E", "", "");
    PutString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Other", "o", "1");
    first_.UndoEnabled(true);
  }

  NullContainer container_;
  Quorvel first_{container_};
  Quorvel second_{container_};
};

TEST_P(UndoRoundTripTest, UndoRestoresTheRegistryExactly) {
  const auto& [trip, undo_on_second] = GetParam();
  const std::string before = Snapshot();
  trip.action(first_);
  EXPECT_EQ(first_.LastAction(), trip.code);
  EXPECT_EQ(RecordCount(), 1);
  if (trip.changes) {
    EXPECT_NE(Snapshot(), before);
  }
  int16_t one = 1;
  (undo_on_second ? second_ : first_).Undo(one);
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(RecordCount(), 0);
  EXPECT_EQ(second_.LastAction(), 0);
}

INSTANTIATE_TEST_SUITE_P(AllActionCodes, UndoRoundTripTest,
                         ::testing::Combine(::testing::ValuesIn(Cases()), ::testing::Bool()),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) +
                                  (std::get<1>(info.param) ? "_OnSecondControl" : "");
                         });

}  // namespace
}  // namespace orvane
