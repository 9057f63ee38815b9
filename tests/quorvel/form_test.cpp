// quorvel as a container that loads and saves: --form, --design, Save and
// the property bag file they share.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/process_liveness.h"
#include "store/registry_store.h"
#include "platform/win32_registry.h"
#include "run_program.h"

namespace quorvel::testing {
namespace {

// A record in the journal of a process that has ended (nobody holds the
// slot of that number), and one in the journal of this test process, which
// holds the first slot of the store while it runs.
constexpr const char* kEndedJournalRecord = "SOFTWARE\\Orvane\\Undo-268435456\\Undo#0";
constexpr const char* kLiveJournalRecord = "SOFTWARE\\Orvane\\Undo-1\\Undo#0";

class FormTest : public ::testing::Test {
 protected:
  ProgramRun Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--registry", store_file()});
    return RunQuorvel(args, dir_.path());
  }
  std::string store_file() const { return (dir_.path() / "registry.db").string(); }
  std::string Write(const std::string& name, const std::string& text) {
    std::ofstream(dir_.path() / name, std::ios::binary) << text;
    return name;
  }
  // Puts a record into the journal of an ended process, as a run that
  // ended abruptly would leave it, and one into this process's journal.
  void LeaveJournalRecords() {
    ASSERT_EQ(orvane::platform::SelectRegistryStore(store_file()), 0);
    ASSERT_EQ(orvane::platform::OwnLiveSlot(store_file()), 1);
    for (const char* record : {kEndedJournalRecord, kLiveJournalRecord}) {
      HKEY key = nullptr;
      ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, record, 0, nullptr, 0, 0x3F, nullptr, &key, nullptr), 0);
      RegCloseKey(key);
    }
    orvane::platform::CommitPendingRegistryWrites();
  }

  TempDir dir_;
};

TEST_F(FormTest, SaveWritesTheSevenPropertiesWithTheirTypes) {
  ProgramRun run = Run({"-e",
                        "GlobalKeyPath = \"HKEY_CURRENT_USER\\Software\\Orvane\": ValueName = \"Say \"\"hi\"\"\"\n"
                        "ValueType = DWordType: Value = 5: UndoEnabled = True: Save \"form.txt\""});
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_EQ(ReadFile(dir_.path() / "form.txt"),
            "OrvanePropertyBag 1\n"
            "HKey = Long -2147483647\n"
            "SubKeyPath = String \"Software\\Orvane\"\n"
            "ValueName = String \"Say \"\"hi\"\"\"\n"
            "ValueType = Long 4\n"
            "Value = Integer 5\n"
            "UndoEnabled = Boolean True\n"
            "GlobalKeyPath = String \"HKEY_CURRENT_USER\\Software\\Orvane\"\n");
}

TEST_F(FormTest, TheFirstControlLoadsTheFormAsSavedWithoutAnAboutBox) {
  Run({"-e", "Set c = New Quorvel: c.ValueType = DWordType: c.Value = CLng(5): Save c, \"form.txt\""});
  ProgramRun run = Run({"--form", "form.txt", "-e",
                        "Print Value, ValueType, UndoEnabled, Width: Set c = New Quorvel: Print c.Value"});
  EXPECT_EQ(run.out, "Long 5\nLong 4\nBoolean False\nLong 600\nString \"\"\n");
  // One About box: the new control's; the loaded one shows none.
  EXPECT_EQ(run.err.find("[About Orvane]"), 0u) << run.err;
  EXPECT_EQ(run.err.find("[About Orvane]", 1), std::string::npos) << run.err;
}

TEST_F(FormTest, AFormTakesValuesThatThePropertiesWouldRefuse) {
  Write("form.txt", "OrvanePropertyBag 1\nHKey = Long -2147483642\nValueType = Long 3\nValue = String \"xyz\"\n");
  ProgramRun run = Run({"--form", "form.txt", "-e", "Print hKey, GlobalKeyPath, Value: hKey = hKey"});
  EXPECT_EQ(run.out,
            "Long -2147483642\nString \"HKEY_CLASSES_ROOT\"\nString \"xyz\"\n"
            "Error 60998: HKEY_DYN_DATA root key is not available under Windows NT\n");
}

TEST_F(FormTest, TheFirstControlRemovesAnEndedProcesssJournalButNotALiveOnes) {
  // Loading in design mode clears only the loading process's own journal.
  const std::string script =
      "GlobalKeyPath = \"HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvane\\Undo-268435456\": Print VerifyExistence(VerifyKey)\n"
      "GlobalKeyPath = \"HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvane\\Undo-1\": Print VerifyExistence(VerifyKey)";
  Write("form.txt", "OrvanePropertyBag 1\n");
  LeaveJournalRecords();
  EXPECT_EQ(Run({"--form", "form.txt", "-e", script}).out, "Boolean False\nBoolean True\n");
  LeaveJournalRecords();
  EXPECT_EQ(Run({"--design", "--form", "form.txt", "-e", script}).out, "Boolean False\nBoolean True\n");
  LeaveJournalRecords();
  EXPECT_EQ(Run({"--design", "-e", script}).out, "Boolean False\nBoolean True\n");
}

TEST_F(FormTest, AMalformedOrMissingFormIsAUsageErrorNamingTheLine) {
  Write("bad.txt", "OrvanePropertyBag 1\nHKey = Long 1\nValue = Integer 40000\n");
  ProgramRun bad = Run({"--form", "bad.txt", "-e", "Print 1"});
  EXPECT_EQ(Transcript(bad), "--- stderr\nquorvel: bad.txt:3: number out of range\n--- exit 2\n");
  ProgramRun missing = Run({"--form", "absent.txt", "-e", "Print 1"});
  EXPECT_EQ(Transcript(missing), "--- stderr\nquorvel: cannot read absent.txt: File not found\n--- exit 2\n");
}

TEST_F(FormTest, AValueTheControlCannotTakeIsAUsageErrorNamingItsLine) {
  Write("text.txt", "OrvanePropertyBag 1\nValueType = String \"four\"\n");
  EXPECT_EQ(Transcript(Run({"--form", "text.txt", "-e", "Print 1"})),
            "--- stderr\nquorvel: text.txt:2: property 'ValueType': Type mismatch\n--- exit 2\n");
  Write("hkey.txt", "OrvanePropertyBag 1\n# saved by hand\nValueName = String \"v\"\n\nhkey = String \"abc\"\n");
  EXPECT_EQ(Transcript(Run({"--form", "hkey.txt", "-e", "Print 1"})),
            "--- stderr\nquorvel: hkey.txt:5: property 'hkey': Type mismatch\n--- exit 2\n");
  Write("null.txt", "OrvanePropertyBag 1\nUndoEnabled = Boolean True\nSubKeyPath = Null\n");
  EXPECT_EQ(Transcript(Run({"--form", "null.txt", "-e", "Print 1"})),
            "--- stderr\nquorvel: null.txt:3: property 'SubKeyPath': Invalid use of Null\n--- exit 2\n");
  Write("big.txt", "OrvanePropertyBag 1\nValueType = Double 1e10\n");
  EXPECT_EQ(Transcript(Run({"--form", "big.txt", "-e", "Print 1"})),
            "--- stderr\nquorvel: big.txt:2: property 'ValueType': Overflow\n--- exit 2\n");
}

TEST_F(FormTest, SaveAndResizeTakeAnOptionalControlAndCheckTheirArguments) {
  ProgramRun run = Run({"-e", "Save 1, 2, 3"});
  EXPECT_EQ(Transcript(run), "--- stderr\n-e:1: syntax error: wrong number of arguments to Save\n--- exit 2\n");
  run = Run({"-e", "Resize 1"});
  EXPECT_EQ(Transcript(run), "--- stderr\n-e:1: syntax error: wrong number of arguments to Resize\n--- exit 2\n");
  run = Run({"-e", "Resize nobody, 1, 2\nResize \"x\", 2\nPrint Width(1)"});
  EXPECT_EQ(run.out,
            "Error 424: Object required\nError 13: Type mismatch\n"
            "Error 450: Wrong number of arguments or invalid property assignment\n");
}

}  // namespace
}  // namespace quorvel::testing
