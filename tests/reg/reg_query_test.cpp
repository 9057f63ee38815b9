// reg query on a private store: the listing, one value, the subtree, and
// the searches, against the exact text reg prints.
#include "reg/reg_fixture.h"

namespace orvane::reg::testing {
namespace {

class RegQuery : public RegTest {
 protected:
  void SetUp() override {
    Ok({"add", "HKCU\\Software\\Q", "/ve", "/d", "top", "/f"});
    Ok({"add", "HKCU\\Software\\Q", "/v", "text", "/d", "hello world", "/f"});
    Ok({"add", "HKCU\\Software\\Q", "/v", "count", "/t", "REG_DWORD", "/d", "0x1F", "/f"});
    Ok({"add", "HKCU\\Software\\Q", "/v", "big", "/t", "REG_QWORD", "/d", "12345678901", "/f"});
    Ok({"add", "HKCU\\Software\\Q", "/v", "bytes", "/t", "REG_BINARY", "/d", "0aBc1", "/f"});
    Ok({"add", "HKCU\\Software\\Q", "/v", "list", "/t", "REG_MULTI_SZ", "/d", "x\\0yy\\0z", "/f"});
    Ok({"add", "HKCU\\Software\\Q", "/v", "path", "/t", "REG_EXPAND_SZ", "/d", "%HOME%\\bin", "/f"});
    Ok({"add", "HKCU\\Software\\Q", "/v", "none", "/t", "REG_NONE", "/d", "ab", "/f"});
    Ok({"add", "HKCU\\Software\\Q\\Empty", "/f"});
    Ok({"add", "HKCU\\Software\\Q\\Empty\\Deep", "/v", "text", "/d", "below", "/f"});
    Ok({"add", "HKCU\\Software\\Q\\Other", "/v", "n", "/t", "REG_DWORD", "/d", "7", "/f"});
  }
};

const char kValues[] =
    "    (Default)    REG_SZ    top\n"
    "    text    REG_SZ    hello world\n"
    "    count    REG_DWORD    0x1f\n"
    "    big    REG_QWORD    0x2dfdc1c35\n"
    "    bytes    REG_BINARY    00ABC1\n"
    "    list    REG_MULTI_SZ    x\\0yy\\0z\n"
    "    path    REG_EXPAND_SZ    %HOME%\\bin\n"
    "    none    REG_NONE    616200\n";

TEST_F(RegQuery, ListsValuesInCreationOrderThenSubKeys) {
  const std::string expected = std::string("\nHKEY_CURRENT_USER\\Software\\Q\n") + kValues +
                               "\nHKEY_CURRENT_USER\\Software\\Q\\Empty\nHKEY_CURRENT_USER\\Software\\Q\\Other\n";
  EXPECT_EQ(Ok({"query", "HKCU\\Software\\Q"}), expected);
  // Full and short root names, any letter case, one trailing backslash.
  EXPECT_EQ(Ok({"QUERY", "hkey_current_user\\Software\\Q\\"}), expected);
}

// Control characters in names and data (an escape sequence that clears the
// screen, one that sets the window's title, CR LF) reach a terminal in the
// script form quorvel's Print uses; any other output gets the bytes as they
// are.
TEST_F(RegQuery, OnATerminalControlCharactersInNamesAndDataAreShownEscaped) {
  const std::string key = "HKCU\\Software\\Q\\Esc\x1b[2J";
  Ok({"add", key, "/v", "t\x1b]0;OWNED\x07", "/d", "a\r\nb", "/f"});
  Ok({"add", key, "/v", "plain", "/d", "Gr\xc3\xbc\xc3\x9f" "e", "/f"});
  const RunResult shown = Run({"query", key}, "", true);
  EXPECT_EQ(shown.status, 0) << shown.err;
  EXPECT_EQ(shown.out,
            "\n\"HKEY_CURRENT_USER\\Software\\Q\\Esc\" & Chr(27) & \"[2J\"\n"
            "    \"t\" & Chr(27) & \"]0;OWNED\" & Chr(7)    REG_SZ    \"a\" & Chr(13) & Chr(10) & \"b\"\n"
            "    plain    REG_SZ    Gr\xc3\xbc\xc3\x9f" "e\n\n");
  EXPECT_EQ(Ok({"query", key}),
            "\nHKEY_CURRENT_USER\\Software\\Q\\Esc\x1b[2J\n"
            "    t\x1b]0;OWNED\x07    REG_SZ    a\r\nb\n"
            "    plain    REG_SZ    Gr\xc3\xbc\xc3\x9f" "e\n\n");
  const RunResult found = Run({"query", "HKCU\\Software\\Q", "/s", "/f", "OWNED"}, "", true);
  EXPECT_EQ(found.out.find('\x1b'), std::string::npos) << found.out;
}

TEST_F(RegQuery, AKeyWithoutValuesListsOnlyItsSubKeys) {
  EXPECT_EQ(Ok({"query", "HKCU\\Software\\Q\\Empty"}), "\nHKEY_CURRENT_USER\\Software\\Q\\Empty\\Deep\n");
}

TEST_F(RegQuery, RecursiveListingShowsEveryKeyBelow) {
  EXPECT_EQ(Ok({"query", "HKCU\\Software\\Q", "/s"}),
            std::string("\nHKEY_CURRENT_USER\\Software\\Q\n") + kValues +
                "\n"
                "HKEY_CURRENT_USER\\Software\\Q\\Empty\n"
                "\n"
                "HKEY_CURRENT_USER\\Software\\Q\\Empty\\Deep\n"
                "    text    REG_SZ    below\n"
                "\n"
                "HKEY_CURRENT_USER\\Software\\Q\\Other\n"
                "    n    REG_DWORD    0x7\n"
                "\n");
}

TEST_F(RegQuery, OneValueByNameOrTheDefault) {
  // The key and the value are named as given, in any letter case.
  EXPECT_EQ(Ok({"query", "HKCU\\software\\q", "/v", "COUNT"}),
            "\nHKEY_CURRENT_USER\\software\\q\n    COUNT    REG_DWORD    0x1f\n\n");
  EXPECT_EQ(Ok({"query", "HKCU\\Software\\Q", "/ve"}),
            "\nHKEY_CURRENT_USER\\Software\\Q\n    (Default)    REG_SZ    top\n\n");
  EXPECT_EQ(Ok({"query", "HKCU\\Software\\Q\\Other", "/ve"}),
            "\nHKEY_CURRENT_USER\\Software\\Q\\Other\n    (Default)    REG_SZ    (value not set)\n\n");
}

TEST_F(RegQuery, OneValueThroughTheSubtreeCountsTheMatches) {
  EXPECT_EQ(Ok({"query", "HKCU\\Software\\Q", "/v", "text", "/s"}),
            "\nHKEY_CURRENT_USER\\Software\\Q\n    text    REG_SZ    hello world\n"
            "\nHKEY_CURRENT_USER\\Software\\Q\\Empty\\Deep\n    text    REG_SZ    below\n"
            "\nEnd of search: 2 match(es) found.\n");
  EXPECT_EQ(Ok({"query", "HKCU\\Software\\Q", "/v", "missing", "/s"}), "\nEnd of search: 0 match(es) found.\n");
}

TEST_F(RegQuery, FindMatchesNamesAndDataIgnoringCase) {
  EXPECT_EQ(Ok({"query", "HKCU\\Software\\Q", "/f", "WORLD"}),
            "\nHKEY_CURRENT_USER\\Software\\Q\n    text    REG_SZ    hello world\n"
            "\nEnd of search: 1 match(es) found.\n");
  EXPECT_EQ(Ok({"query", "HKCU\\Software\\Q", "/f", "H*o*D"}),
            "\nHKEY_CURRENT_USER\\Software\\Q\n    text    REG_SZ    hello world\n"
            "\nEnd of search: 1 match(es) found.\n");
  // Without /s only the key's own values and its sub-keys' names are searched.
  EXPECT_EQ(Ok({"query", "HKCU\\Software\\Q", "/f", "e?pt"}),
            "\nHKEY_CURRENT_USER\\Software\\Q\\Empty\n\nEnd of search: 1 match(es) found.\n");
  EXPECT_EQ(Ok({"query", "HKCU\\Software\\Q", "/f", "below", "/s"}),
            "\nHKEY_CURRENT_USER\\Software\\Q\\Empty\\Deep\n    text    REG_SZ    below\n"
            "\nEnd of search: 1 match(es) found.\n");
}

// The search and display switches, on the cases of Windows' reg query
// documentation: a list shown with its separator, exact and case-sensitive
// hits of one type, hex data searched in data only.
TEST_F(RegQuery, SearchSwitchesChooseWhereAndHowTextMatches) {
  const std::string sys = "HKCU\\Software\\Q\\Sys";
  Ok({"add", sys, "/v", "a", "/d", "SYSTEM", "/f"});
  Ok({"add", sys, "/v", "b", "/d", "system", "/f"});
  Ok({"add", sys, "/v", "c", "/d", "SYSTEM32", "/f"});
  Ok({"add", sys, "/v", "d", "/t", "REG_EXPAND_SZ", "/d", "SYSTEM", "/f"});
  Ok({"add", sys, "/v", "e", "/t", "REG_MULTI_SZ", "/d", "SYSTEM\\0x", "/f"});
  Ok({"add", sys, "/v", "bin", "/t", "REG_BINARY", "/d", "0F10", "/f"});
  Ok({"add", sys, "/v", "name0F", "/t", "REG_BINARY", "/d", "00", "/f"});
  Ok({"add", sys + "\\SYSTEM", "/v", "f", "/t", "REG_DWORD", "/d", "15", "/f"});
  const std::string key = "\nHKEY_CURRENT_USER\\Software\\Q\\Sys\n";
  const std::string sub = "\nHKEY_CURRENT_USER\\Software\\Q\\Sys\\SYSTEM\n";
  const std::string a = "    a    REG_SZ    SYSTEM\n", b = "    b    REG_SZ    system\n",
                    c = "    c    REG_SZ    SYSTEM32\n", d = "    d    REG_EXPAND_SZ    SYSTEM\n";
  const auto end = [](int n) { return "\nEnd of search: " + std::to_string(n) + " match(es) found.\n"; };
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"/se", "#"},
       key + a + b + c + d + "    e    REG_MULTI_SZ    SYSTEM#x\n    bin    REG_BINARY    0F10\n" +
           "    name0F    REG_BINARY    00\n" + sub},
      {{"/f", "SYSTEM", "/t", "REG_SZ", "/c", "/e", "/s"}, key + a + end(1)},
      {{"/f", "SYSTEM", "/s"}, key + a + b + c + d + "    e    REG_MULTI_SZ    SYSTEM\\0x\n" + sub + end(6)},
      {{"/f", "SYSTEM", "/e", "/s"}, key + a + b + d + sub + end(4)},
      {{"/f", "system", "/c", "/s"}, key + b + end(1)},
      {{"/f", "SYSTEM", "/k", "/s"}, sub + end(1)},
      {{"/f", "0F", "/d", "/t", "REG_BINARY"}, key + "    bin    REG_BINARY    0F10\n" + end(1)},
      {{"/t", "REG_DWORD", "/s", "/z"}, sub + "    f    REG_DWORD (4)    0xf\n" + end(1)},
      {{"/v", "a", "/z"}, key + "    a    REG_SZ (1)    SYSTEM\n\n"},
      {{"/ve", "/z"}, key + "    (Default)    REG_SZ (1)    (value not set)\n\n"},
  };
  for (const auto& [switches, expected] : cases) {
    std::vector<std::string> args = {"query", sys};
    args.insert(args.end(), switches.begin(), switches.end());
    EXPECT_EQ(Ok(args), expected) << ::testing::PrintToString(switches);
  }
}

TEST_F(RegQuery, MissingKeysAndValuesFail) {
  const std::string not_found = "ERROR: The system was unable to find the specified registry key or value.\n";
  RunResult result = Run({"query", "HKCU\\Software\\Missing"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, not_found);
  result = Run({"query", "HKCU\\Software\\Q", "/v", "missing"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, not_found);
}

TEST_F(RegQuery, BadCommandLinesAreSyntaxErrors) {
  const std::string syntax = "ERROR: Invalid syntax.\nType \"orvane-reg QUERY /?\" for usage.\n";
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"query"},
           {"query", "HKCU\\Software\\Q", "/v"},
           {"query", "HKCU\\Software\\Q", "/v", "a", "/ve"},
           {"query", "HKCU\\Software\\Q", "/s", "/s"},
           {"query", "HKCU\\Software\\Q", "/va"},
           {"query", "HKCU\\Software\\Q", "/bogus"},
           {"query", "HKCU\\Software\\Q", "/se", "##"},
           {"query", "HKCU\\Software\\Q", "/se", ""},
           {"query", "HKCU\\Software\\Q", "/v", "a", "/k"},
           {"query", "HKCU\\Software\\Q", "/ve", "/t", "REG_SZ"},
           {"query", "HKCU\\Software\\Q", "/d", "x"},
       }) {
    const RunResult result = Run(args);
    EXPECT_EQ(result.status, 1) << args.back();
    EXPECT_EQ(result.err, syntax) << args.back();
  }
  for (const std::string key : {"HKXX\\Software", "\\\\host\\HKLM\\Software", "HKCU\\\\Software", "Software"}) {
    const RunResult result = Run({"query", key});
    EXPECT_EQ(result.status, 1) << key;
    EXPECT_EQ(result.err, "ERROR: Invalid key name.\n") << key;
  }
  const RunResult type = Run({"query", "HKCU\\Software\\Q", "/f", "x", "/t", "REG_LINK"});
  EXPECT_EQ(type.status, 1);
  EXPECT_EQ(type.err, "ERROR: Invalid type REG_LINK.\n");
}

}  // namespace
}  // namespace orvane::reg::testing
