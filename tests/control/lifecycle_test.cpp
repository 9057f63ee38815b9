// The control's life in its container: defaults of a new control, saving
// and loading through a property bag, the fixed size, and the process-wide
// effects (UndoEnabled, the journal) that every control shares.
#include <gtest/gtest.h>

#include <memory>

#include "control/control_fixture.h"
#include "orvane/property_bag.h"
#include "platform/dialogs.h"
#include "platform/win32_registry.h"
#include "registry/expect_error.h"
#include "registry/nt_platform.h"
#include "undo/journal.h"

namespace orvane {
namespace {

constexpr int32_t kLocalMachine = static_cast<int32_t>(0x80000002u);
constexpr int32_t kDynData = static_cast<int32_t>(0x80000006u);

// A bag that records every write (name, value, default) in call order.
class RecordingBag : public PropertyBag {
 public:
  struct Write {
    std::string name;
    Variant value;
    Variant default_value;
  };
  Variant ReadProperty(std::string_view name, const Variant& default_value) override {
    reads.emplace_back(name);
    return inner.ReadProperty(name, default_value);
  }
  void WriteProperty(std::string_view name, const Variant& value, const Variant& default_value) override {
    writes.push_back({std::string(name), value, default_value});
    inner.WriteProperty(name, value, default_value);
  }
  MemoryPropertyBag inner;
  std::vector<std::string> reads;
  std::vector<Write> writes;
};

// A container whose user mode the test chooses and that records the
// extent the control sets.
class SizingContainer : public RecordingContainer {
 public:
  bool AmbientUserMode() const override { return user_mode; }
  void SetExtent(int32_t w, int32_t h) override {
    width = w;
    height = h;
  }
  bool user_mode = true;
  int32_t width = -1;
  int32_t height = -1;
};

bool KeyExists(const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, 0x3F, &key) != 0) return false;
  RegCloseKey(key);
  return true;
}

class Lifecycle : public ::testing::Test {
 protected:
  Lifecycle() { platform::SetDialogMode(platform::DialogMode::kText); }

  // A control that holds something other than every default.
  void MoveAwayFromDefaults(Quorvel& control) {
    control.GlobalKeyPath("HKEY_LOCAL_MACHINE\\Software\\Lifecycle");
    control.ValueName("Size");
    control.ValueType(4);
    control.Value(Variant::Long(5));
    control.UndoEnabled(true);
  }

  TempRegistry registry_;
  SizingContainer container_;
};

TEST_F(Lifecycle, NewControlTakesEveryDefaultAndShowsTheAboutBox) {
  Quorvel control(container_);
  Quorvel other(container_);
  MoveAwayFromDefaults(control);
  ::testing::internal::CaptureStderr();
  control.InitProperties();
  std::string shown = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(control.hKey(), static_cast<int32_t>(0x80000000u));
  EXPECT_EQ(control.SubKeyPath(), "");
  EXPECT_EQ(control.GlobalKeyPath(), "HKEY_CLASSES_ROOT");
  EXPECT_EQ(control.ValueName(), "");
  EXPECT_EQ(control.ValueType(), 1);
  EXPECT_EQ(control.Value(), Variant::String(""));
  EXPECT_FALSE(other.UndoEnabled());  // one flag for the whole process
  EXPECT_NE(shown.find("[About Orvane]"), std::string::npos) << shown;
  EXPECT_NE(shown.find("Version 1.6.1"), std::string::npos) << shown;
}

TEST_F(Lifecycle, WritesTheSevenNamesInOrderWithTheirTypesAndDefaults) {
  Quorvel control(container_);
  MoveAwayFromDefaults(control);
  RecordingBag bag;
  control.WriteProperties(bag);
  const std::vector<std::tuple<std::string, Variant, Variant>> expected = {
      {"HKey", Variant::Long(kLocalMachine), Variant::Long(static_cast<int32_t>(0x80000000u))},
      {"SubKeyPath", Variant::String("Software\\Lifecycle"), Variant::String("")},
      {"ValueName", Variant::String("Size"), Variant::String("")},
      {"ValueType", Variant::Long(4), Variant::Long(1)},
      {"Value", Variant::Long(5), Variant::String("")},
      {"UndoEnabled", Variant::Boolean(true), Variant::Boolean(false)},
      {"GlobalKeyPath", Variant::String("HKEY_LOCAL_MACHINE\\Software\\Lifecycle"),
       Variant::String("HKEY_CLASSES_ROOT")},
  };
  ASSERT_EQ(bag.writes.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(bag.writes[i].name, std::get<0>(expected[i]));
    EXPECT_EQ(bag.writes[i].value, std::get<1>(expected[i])) << bag.writes[i].name;
    EXPECT_EQ(bag.writes[i].default_value, std::get<2>(expected[i])) << bag.writes[i].name;
  }
}

// The control's properties through a bag file and back into a new control.
Variant ValueAfterFileRoundTrip(Quorvel& saved, Container& container, const std::filesystem::path& file) {
  MemoryPropertyBag out;
  saved.WriteProperties(out);
  out.SaveFile(file);
  MemoryPropertyBag in = MemoryPropertyBag::LoadFile(file);
  Quorvel loaded(container);
  loaded.ReadProperties(in);
  EXPECT_EQ(loaded.ValueType(), saved.ValueType());
  EXPECT_EQ(loaded.GlobalKeyPath(), saved.GlobalKeyPath());
  return loaded.Value();
}

TEST_F(Lifecycle, SavingAndLoadingADWordKeepsTheNumberFive) {
  Quorvel saved(container_);
  saved.ValueType(4);
  saved.Value(Variant::Long(5));
  EXPECT_EQ(ValueAfterFileRoundTrip(saved, container_, registry_.path() / "form.txt"), Variant::Long(5));
  saved.Value(Variant::Integer(5));
  EXPECT_EQ(ValueAfterFileRoundTrip(saved, container_, registry_.path() / "form.txt"), Variant::Integer(5));
}

TEST_F(Lifecycle, SavingAndLoadingKeepsEveryScalarTypeAndEveryByte) {
  std::string all_bytes;
  for (int c = 0; c < 256; ++c) all_bytes += static_cast<char>(c);
  for (const Variant& value : {Variant::Double(0.1), Variant::Double(-4294967296.5), Variant::Byte(255),
                               Variant::Boolean(true), Variant::String(all_bytes), Variant::String(""), Variant(),
                               Variant::Null()}) {
    MemoryPropertyBag seed;
    seed.WriteProperty("Value", value, Variant());
    Quorvel saved(container_);
    saved.ReadProperties(seed);
    EXPECT_EQ(ValueAfterFileRoundTrip(saved, container_, registry_.path() / "form.txt"), value)
        << Variant::TypeName(value.type());
  }
}

TEST_F(Lifecycle, LoadingTakesSavedValuesWithoutChecksOrNotifications) {
  SetNtPlatformForTesting(true);
  MemoryPropertyBag bag;
  bag.WriteProperty("HKey", Variant::Long(kDynData), Variant());
  bag.WriteProperty("SubKeyPath", Variant::String("\\a\\\\b\\"), Variant());
  bag.WriteProperty("GlobalKeyPath", Variant::String("HKEY_USERS\\elsewhere"), Variant());
  bag.WriteProperty("ValueName", Variant::String("\\name\\"), Variant());
  bag.WriteProperty("ValueType", Variant::Long(3), Variant());
  bag.WriteProperty("Value", Variant::String("not hex"), Variant());
  Quorvel control(container_);
  control.ReadProperties(bag);
  EXPECT_EQ(control.hKey(), kDynData);  // refused with 60998 by the property, taken here
  EXPECT_EQ(control.SubKeyPath(), "\\a\\\\b\\");
  EXPECT_EQ(control.GlobalKeyPath(), "HKEY_USERS\\elsewhere");
  EXPECT_EQ(control.ValueName(), "\\name\\");
  EXPECT_EQ(control.Value(), Variant::String("not hex"));
  EXPECT_TRUE(container_.changed.empty());
}

TEST_F(Lifecycle, MissingNamesLoadTheirDefaults) {
  Quorvel control(container_);
  MoveAwayFromDefaults(control);
  MemoryPropertyBag empty;
  control.ReadProperties(empty);
  EXPECT_EQ(control.hKey(), static_cast<int32_t>(0x80000000u));
  EXPECT_EQ(control.GlobalKeyPath(), "HKEY_CLASSES_ROOT");
  EXPECT_EQ(control.SubKeyPath(), "");
  EXPECT_EQ(control.ValueName(), "");
  EXPECT_EQ(control.ValueType(), 1);
  EXPECT_EQ(control.Value(), Variant::String(""));
  EXPECT_FALSE(control.UndoEnabled());
}

TEST_F(Lifecycle, ASavedValueOfTheWrongKindRaisesAndChangesNothing) {
  Quorvel control(container_);
  MoveAwayFromDefaults(control);
  MemoryPropertyBag bag;
  bag.WriteProperty("SubKeyPath", Variant::String("Changed"), Variant());
  bag.WriteProperty("ValueType", Variant::String("four"), Variant());
  EXPECT_ERROR_NUMBER(control.ReadProperties(bag), 13);
  bag.WriteProperty("ValueType", Variant::Double(3e10), Variant());
  EXPECT_ERROR_NUMBER(control.ReadProperties(bag), 6);
  bag.WriteProperty("ValueType", Variant::Null(), Variant());
  EXPECT_ERROR_NUMBER(control.ReadProperties(bag), 94);
  EXPECT_EQ(control.SubKeyPath(), "Software\\Lifecycle");
  EXPECT_EQ(control.ValueType(), 4);
  EXPECT_TRUE(control.UndoEnabled());
}

TEST_F(Lifecycle, LoadedUndoEnabledHoldsForEveryControl) {
  Quorvel first(container_);
  Quorvel second(container_);
  MemoryPropertyBag bag;
  bag.WriteProperty("UndoEnabled", Variant::Boolean(true), Variant());
  second.ReadProperties(bag);
  EXPECT_TRUE(first.UndoEnabled());
  bag.WriteProperty("UndoEnabled", Variant::Boolean(false), Variant());
  first.ReadProperties(bag);
  EXPECT_FALSE(second.UndoEnabled());
}

TEST_F(Lifecycle, LoadingInDesignModeClearsTheJournalAtRunTimeKeepsIt) {
  Quorvel control(container_);
  control.UndoEnabled(true);
  control.GlobalKeyPath("HKEY_LOCAL_MACHINE\\Software\\Journalled");
  control.SetKey();
  ASSERT_TRUE(KeyExists(JournalKeyPath() + "\\Undo#0"));
  MemoryPropertyBag bag;
  control.WriteProperties(bag);
  Quorvel at_run_time(container_);
  at_run_time.ReadProperties(bag);
  EXPECT_TRUE(KeyExists(JournalKeyPath() + "\\Undo#0"));
  container_.user_mode = false;
  Quorvel in_design(container_);
  in_design.ReadProperties(bag);
  EXPECT_FALSE(KeyExists(JournalKeyPath()));
  EXPECT_TRUE(in_design.UndoEnabled());  // loaded true; only the records are gone
}

TEST_F(Lifecycle, AnyResizeLeavesTheControlSixHundredSquare) {
  Quorvel control(container_);
  for (auto [w, h] : {std::pair{600, 600}, {1, 1}, {0, 0}, {-50, 7000}, {2147483647, -2147483647 - 1}}) {
    container_.SetExtent(w, h);
    control.Resize();
    EXPECT_EQ(container_.width, 600);
    EXPECT_EQ(container_.height, 600);
    EXPECT_EQ(control.Width(), 600);
    EXPECT_EQ(control.Height(), 600);
  }
}

TEST_F(Lifecycle, TwoControlsShareOneJournalThatEitherOnesEndEmpties) {
  auto first = std::make_unique<Quorvel>(container_);
  Quorvel second(container_);
  first->UndoEnabled(true);
  EXPECT_TRUE(second.UndoEnabled());
  second.GlobalKeyPath("HKEY_LOCAL_MACHINE\\Software\\Shared");
  second.SetKey();
  ASSERT_TRUE(KeyExists(JournalKeyPath() + "\\Undo#0"));
  first.reset();  // terminate: the journal second would undo from is gone
  EXPECT_FALSE(KeyExists(JournalKeyPath()));
  EXPECT_TRUE(second.UndoEnabled());
  EXPECT_TRUE(KeyExists("Software\\Shared"));
}

TEST_F(Lifecycle, InitialiseSetsTheJournalNamesAndTheNtFlag) {
  SetNtPlatformForTesting(false);
  Quorvel control(container_);
  EXPECT_TRUE(NtPlatform());
  EXPECT_EQ(JournalKeyPath(), "SOFTWARE\\Orvane\\Undo-" + JournalIdentifier());
  EXPECT_FALSE(JournalIdentifier().empty());
}

}  // namespace
}  // namespace orvane
