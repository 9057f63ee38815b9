// reg copy and reg compare on a private store. compare's reports are kept
// as expected files (expected/compare_*.txt), since no reference tool
// available here has the verb.
#include <fstream>
#include <sstream>

#include "reg/reg_fixture.h"

namespace orvane::reg::testing {
namespace {

std::string Expected(const std::string& name) {
  std::ifstream file(std::string(ORVANE_REG_EXPECTED_DIR) + "/" + name);
  EXPECT_TRUE(file) << name;
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

class RegCopyCompare : public RegTest {
 protected:
  // Two trees: B is A with one value changed, one added, one missing, a
  // sub-key only in each, and a common sub-key that differs deeper down.
  void SetUp() override {
    for (const std::string root : {"HKCU\\Software\\A", "HKCU\\Software\\B"}) {
      Ok({"add", root, "/ve", "/d", "same", "/f"});
      Ok({"add", root, "/v", "n", "/t", "REG_DWORD", "/d", root.back() == 'A' ? "1" : "2", "/f"});
      Ok({"add", root + "\\Common", "/v", "deep", "/d", root.back() == 'A' ? "x" : "y", "/f"});
      Ok({"add", root + "\\Only" + root.back(), "/f"});
    }
    Ok({"add", "HKCU\\Software\\A", "/v", "gone", "/t", "REG_BINARY", "/d", "01", "/f"});
    Ok({"add", "HKCU\\Software\\B", "/v", "NEW", "/t", "REG_MULTI_SZ", "/d", "p\\0q", "/f"});
  }

  void ExpectCompare(const std::vector<std::string>& switches, int status, const std::string& expected_file) {
    std::vector<std::string> args = {"compare", "HKCU\\Software\\A", "HKCU\\Software\\B"};
    args.insert(args.end(), switches.begin(), switches.end());
    const RunResult result = Run(args);
    EXPECT_EQ(result.status, status) << expected_file << result.err;
    EXPECT_EQ(result.out, Expected(expected_file));
  }
};

TEST_F(RegCopyCompare, CompareReportsDifferencesMatchesBothOrNeither) {
  ExpectCompare({}, 2, "compare_differences.txt");
  ExpectCompare({"/od"}, 2, "compare_differences.txt");
  ExpectCompare({"/OS"}, 2, "compare_same.txt");
  ExpectCompare({"/oa", "/s"}, 2, "compare_all_recursive.txt");
  ExpectCompare({"/on", "/s"}, 2, "compare_nothing.txt");
  ExpectCompare({"/v", "N"}, 2, "compare_value.txt");
  ExpectCompare({"/ve", "/oa"}, 0, "compare_default_value.txt");
}

TEST_F(RegCopyCompare, CopyMakesTheKeysIdentical) {
  EXPECT_EQ(Ok({"delete", "HKCU\\Software\\B", "/f"}), kDone);
  EXPECT_EQ(Ok({"copy", "HKCU\\Software\\A", "HKCU\\Software\\B", "/s"}), kDone);
  ExpectCompare({"/s"}, 0, "compare_identical.txt");
}

TEST_F(RegCopyCompare, CopyWithoutSubtreeCopiesValuesOnly) {
  EXPECT_EQ(Ok({"copy", "HKCU\\Software\\A\\Common", "HKCU\\Software\\C"}), kDone);
  EXPECT_EQ(Ok({"query", "HKCU\\Software\\C"}), "\nHKEY_CURRENT_USER\\Software\\C\n    deep    REG_SZ    x\n\n");
  EXPECT_EQ(Ok({"copy", "HKCU\\Software\\A", "HKCU\\Software\\D"}), kDone);
  EXPECT_EQ(Ok({"query", "HKCU\\Software\\D"}),
            "\nHKEY_CURRENT_USER\\Software\\D\n"
            "    (Default)    REG_SZ    same\n    n    REG_DWORD    0x1\n    gone    REG_BINARY    01\n\n");
}

TEST_F(RegCopyCompare, CopyAsksBeforeOverwritingEachValue) {
  const RunResult result = Run({"copy", "HKCU\\Software\\A", "HKCU\\Software\\B"}, "y\nn\n");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out,
            std::string("Value (Default) exists, overwrite(Yes/No)? Value n exists, overwrite(Yes/No)? ") + kDone);
  EXPECT_EQ(Ok({"query", "HKCU\\Software\\B", "/v", "n"}),
            "\nHKEY_CURRENT_USER\\Software\\B\n    n    REG_DWORD    0x2\n\n");
  EXPECT_EQ(Ok({"query", "HKCU\\Software\\B", "/v", "gone"}),
            "\nHKEY_CURRENT_USER\\Software\\B\n    gone    REG_BINARY    01\n\n");
}

TEST_F(RegCopyCompare, CopyIntoItsOwnSubtreeCopiesTheTreeOnce) {
  EXPECT_EQ(Ok({"copy", "HKCU\\Software\\A", "HKCU\\Software\\A\\Common\\Inner", "/s", "/f"}), kDone);
  EXPECT_EQ(Ok({"query", "HKCU\\Software\\A\\Common\\Inner\\Common"}),
            "\nHKEY_CURRENT_USER\\Software\\A\\Common\\Inner\\Common\n    deep    REG_SZ    x\n\n");
  const RunResult result = Run({"query", "HKCU\\Software\\A\\Common\\Inner\\Common\\Inner"});
  EXPECT_EQ(result.status, 1);
}

TEST_F(RegCopyCompare, FailuresOfCopyAndCompare) {
  const std::string not_found = "ERROR: The system was unable to find the specified registry key or value.\n";
  RunResult result = Run({"copy", "HKCU\\Software\\Missing", "HKCU\\Software\\E", "/f"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, not_found);
  result = Run({"copy", "HKCU\\Software\\A", "hkey_current_user\\software\\a\\", "/f"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "ERROR: The source and destination keys are the same.\n");
  result = Run({"compare", "HKCU\\Software\\A", "HKCU\\Software\\Missing"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, not_found);
  result = Run({"compare", "HKCU\\Software\\A", "HKCU\\Software\\B", "/v", "missing"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, not_found);
  result = Run({"compare", "HKCU\\Software\\A", "HKCU\\Software\\B", "/v", "n", "/s"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "ERROR: Invalid syntax.\nType \"orvane-reg COMPARE /?\" for usage.\n");
  result = Run({"compare", "HKCU\\Software\\A", "HKCU\\Software\\B", "/oa", "/os"});
  EXPECT_EQ(result.status, 1);
}

}  // namespace
}  // namespace orvane::reg::testing
