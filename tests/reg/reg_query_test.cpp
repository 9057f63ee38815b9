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
}

}  // namespace
}  // namespace orvane::reg::testing
