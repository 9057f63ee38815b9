// Export: the command line, the wait for the editor and its file, and the
// header, with our own regedit and with stand-in editors.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "editor_fixture.h"
#include "registry/expect_error.h"

namespace orvane {
namespace {

class ExportTest : public EditorTest {
 protected:
  ExportTest() {
    control_.GlobalKeyPath("HKEY_CURRENT_USER\\Software\\Exp");
    control_.SetKey();
  }
  void Export(std::string path, bool all = false, std::string comment = "") {
    control_.Export(path, all, comment);
  }
#ifndef _WIN32
  // The recorded arguments with the random part of a temporary file name
  // (16 hex digits before ".tmp") as "*".
  std::string RecordedWithoutRandom() {
    return std::regex_replace(RecordedArguments(), std::regex("\\.[0-9a-f]{16}\\.tmp\n"), ".*.tmp\n");
  }
#endif
};

TEST_F(ExportTest, TheCurrentKeyIsExportedWithTheHeaderAfterREGEDIT4) {
  UseOurEditor();
  control_.ValueName("a \"b\\c");
  control_.Value(Variant::String("x"));
  int32_t create = 0;
  control_.SetValue(create);
  Export(In("out"), false, "first|second");
  EXPECT_EQ(ReadText(In("out.reg")),
            "REGEDIT4\r\n\r\n; " + std::string(65, '-') + "\r\n; Orvane Version 1.6.1\r\n" +
                "; Internet: https://orvane.verrilan.example\r\n; InfoMail: <orvane@verrilan.example>\r\n; " +
                std::string(65, '-') + "\r\n; first\r\n; second\r\n\r\n[HKEY_CURRENT_USER\\Software\\Exp]\r\n" +
                "\"a \\\"b\\\\c\"=\"x\"\r\n\r\n");
  EXPECT_FALSE(std::filesystem::exists(In("out.reg~")));
}

TEST_F(ExportTest, TheTildeCommentLeavesTheEditorsFileUnchanged) {
  UseOurEditor();
  Export(In("plain.txt"), false, "~");
  EXPECT_EQ(ReadText(In("plain.txt")), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Exp]\r\n\r\n");
  EXPECT_FALSE(std::filesystem::exists(In("plain.txt~")));
}

#ifdef _WIN32
// Our editor would write a file for a key it could open: none appears.
TEST_F(ExportTest, AMissingCurrentKeyRaises60009AndWritesNothing) {
  control_.SubKeyPath("Software\\None");
  EXPECT_ERROR_NUMBER(Export(In("x")), 60009);
  EXPECT_TRUE(std::filesystem::is_empty(Folder()));
}
#endif

#ifndef _WIN32  // needs a shell-script stand-in editor
TEST_F(ExportTest, AMissingCurrentKeyRaises60009AndStartsNothing) {
  AddRecordingEditor();
  control_.SubKeyPath("Software\\None");
  EXPECT_ERROR_NUMBER(Export(In("x")), 60009);
  EXPECT_FALSE(EditorStarted());
}

TEST_F(ExportTest, AllRegistryNeedsNoCurrentKeyAndPassesNoKey) {
  AddRecordingEditor("printf 'REGEDIT4\\r\\n' > \"$4\"\n");
  control_.SubKeyPath("Software\\None");
  Export(In("all"), true, "~");
  // The editor writes a new hidden file beside the target, named after it.
  EXPECT_EQ(RecordedWithoutRandom(), "/S\n/E\n--\n" + In(".all.reg.*.tmp") + "\n");
  EXPECT_EQ(ReadText(In("all.reg")), "REGEDIT4\r\n");
}

TEST_F(ExportTest, WrappingQuotesGoBeforeTheExtensionRuleAndEachArgumentStaysWhole) {
  AddRecordingEditor("printf 'REGEDIT4\\r\\n' > \"$4\"\n");
  control_.GlobalKeyPath("HKEY_LOCAL_MACHINE");
  Export("\"" + In("with blank.tx") + "\"", false, "~");
  EXPECT_EQ(RecordedWithoutRandom(), "/S\n/E\n--\n" + In(".with_blank.tx.reg.*.tmp") + "\nHKEY_LOCAL_MACHINE\n");
  EXPECT_EQ(ReadText(In("with blank.tx.reg")), "REGEDIT4\r\n");
}
#endif

TEST_F(ExportTest, APathWrappedInQuotesIsWrittenAndWaitedForWithoutThem) {
  UseOurEditor();
  Export("\"" + In("a") + "\"", false, "c");
  const std::string text = ReadText(In("a.reg"));
  EXPECT_EQ(text.rfind("REGEDIT4\r\n\r\n; ---", 0), 0u) << text;
  EXPECT_NE(text.find("; c\r\n\r\n[HKEY_CURRENT_USER\\Software\\Exp]\r\n"), std::string::npos) << text;
  for (const auto& entry : std::filesystem::directory_iterator(Folder())) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name == "a.reg" || name.rfind("registry.db", 0) == 0) << name;
  }
}

TEST_F(ExportTest, AQuoteAtOneEndOnlyIsPartOfTheNameAndNothingElseIsWritten) {
  UseOurEditor();
  // The name is then relative, in a folder named by the quote that does not
  // exist: the editor writes nothing, and nothing lands in the folder named.
  EXPECT_ERROR_NUMBER(Export("\"" + In("lead")), 60111);
  for (const auto& entry : std::filesystem::directory_iterator(Folder())) {
    EXPECT_EQ(entry.path().filename().string().rfind("registry.db", 0), 0u) << entry.path();
  }
}

TEST_F(ExportTest, QuotesAndBlanksInTheKeyNameReachTheEditorUnchanged) {
  UseOurEditor();
  int32_t create = 0;
  for (const char* key : {"q\"x", "qx", "two  blanks", "two blanks"}) {
    control_.GlobalKeyPath(std::string("HKEY_CURRENT_USER\\Software\\") + key);
    control_.SetKey();
    control_.ValueName("of");
    control_.Value(Variant::String(key));
    control_.SetValue(create);
  }
  control_.GlobalKeyPath("HKEY_CURRENT_USER\\Software\\q\"x");
  Export(In("quote"), false, "~");
  EXPECT_EQ(ReadText(In("quote.reg")), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\q\"x]\r\n\"of\"=\"q\\\"x\"\r\n\r\n");
  control_.GlobalKeyPath("HKEY_CURRENT_USER\\Software\\two  blanks");
  Export(In("blanks"), false, "~");
  EXPECT_EQ(ReadText(In("blanks.reg")),
            "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\two  blanks]\r\n\"of\"=\"two  blanks\"\r\n\r\n");
}

#ifndef _WIN32  // needs no editor on PATH; on Windows ours is beside the test
TEST_F(ExportTest, NoEditorRaises60111) {
  EXPECT_ERROR_NUMBER(Export(In("x")), 60111);
}
#endif

#ifndef _WIN32  // needs a shell-script stand-in editor
TEST_F(ExportTest, AnEditorEndingWithoutTheFileRaises60111) {
  AddScript("orvane-regedit", "exit 1\n");
  EXPECT_ERROR_NUMBER(Export(In("x")), 60111);
  EXPECT_FALSE(std::filesystem::exists(In("x.reg~")));
}

TEST_F(ExportTest, TheHeaderWaitsForTheEditorToFinishWriting) {
  // The file appears at once, but its last line comes two seconds later.
  AddScript("orvane-regedit", "printf 'REGEDIT4\\r\\n\\r\\n' > \"$4\"\n/bin/sleep 2\nprintf '[late]\\r\\n' >> \"$4\"\n");
  Export(In("slow"), false, "c");
  const std::string text = ReadText(In("slow.reg"));
  EXPECT_EQ(text.substr(text.size() - 15), "; c\r\n\r\n[late]\r\n");
}

TEST_F(ExportTest, AHiddenFileIsNotTakenForTheExport) {
  // The editor leaves a hidden file: the wait does not see it as the export.
  AddScript("orvane-regedit", "printf 'REGEDIT4\\r\\n' > \"$4\"\n"
                       "/usr/bin/python3 -c 'import os,sys; os.setxattr(sys.argv[1], \"user.DOSATTRIB\", b\"0x2\")' \"$4\"\n");
  EXPECT_ERROR_NUMBER(Export(In("hidden")), 60111);
}
#endif

}  // namespace
}  // namespace orvane
