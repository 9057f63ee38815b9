// File attributes kept in user.DOSATTRIB and the file mode, and what the
// export wait counts as an ordinary file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <filesystem>
#include <fstream>

#include "about/fake_program.h"
#include "platform/win32_system.h"
#include "regfiles/reg_file_transfer.h"

namespace orvane {
namespace {

class AttributesTest : public ::testing::Test {
 protected:
  AttributesTest() { std::ofstream(file_) << "x"; }
  mode_t Mode() const {
    struct stat info {};
    stat(file_.c_str(), &info);
    return info.st_mode & 0777;
  }
  std::string Stored() const {
    char text[32] = {};
    return getxattr(file_.c_str(), "user.DOSATTRIB", text, sizeof(text) - 1) > 0 ? text : "";
  }
  testing::TempFolder folder_;
  std::string file_ = (folder_.path() / "f.reg").string();
};

TEST_F(AttributesTest, ANewFileIsArchiveAndOrdinary) {
  EXPECT_EQ(GetFileAttributesA(file_.c_str()), FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_TRUE(IsOrdinaryFile(file_));
}

TEST_F(AttributesTest, ReadOnlyHiddenSystemAreStoredAndReadOnlyClearsWritePermission) {
  chmod(file_.c_str(), 0664);
  ASSERT_TRUE(SetFileAttributesA(file_.c_str(), 7));
  EXPECT_EQ(GetFileAttributesA(file_.c_str()), 7u);
  EXPECT_EQ(Stored(), "0x7");
  EXPECT_EQ(Mode(), 0444u);
  EXPECT_FALSE(IsOrdinaryFile(file_));
  ASSERT_TRUE(SetFileAttributesA(file_.c_str(), FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_EQ(GetFileAttributesA(file_.c_str()), FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_EQ(Stored(), "0x20");
  EXPECT_EQ(Mode(), 0644u);  // the owner may write again
  EXPECT_TRUE(IsOrdinaryFile(file_));
}

TEST_F(AttributesTest, HiddenAloneOrSystemAloneIsNotAnOrdinaryFile) {
  ASSERT_TRUE(SetFileAttributesA(file_.c_str(), FILE_ATTRIBUTE_HIDDEN));
  EXPECT_FALSE(IsOrdinaryFile(file_));
  ASSERT_TRUE(SetFileAttributesA(file_.c_str(), FILE_ATTRIBUTE_SYSTEM));
  EXPECT_FALSE(IsOrdinaryFile(file_));
  ASSERT_TRUE(SetFileAttributesA(file_.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_TRUE(IsOrdinaryFile(file_));
}

TEST_F(AttributesTest, ReadOnlyFollowsTheModeWhenChangedOutside) {
  chmod(file_.c_str(), 0444);
  EXPECT_EQ(GetFileAttributesA(file_.c_str()), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
}

TEST_F(AttributesTest, AFolderIsNoOrdinaryFile) {
  EXPECT_EQ(GetFileAttributesA(folder_.path().c_str()) & FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_FALSE(IsOrdinaryFile(folder_.path().string()));
}

TEST_F(AttributesTest, MissingFileAndMissingFolderGiveTheirResults) {
  const std::string missing = (folder_.path() / "none.reg").string();
  EXPECT_EQ(GetFileAttributesA(missing.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), 2u);
  EXPECT_FALSE(SetFileAttributesA(missing.c_str(), 7));
  EXPECT_EQ(GetLastError(), 2u);
  const std::string under_file = file_ + "/x.reg";
  EXPECT_FALSE(SetFileAttributesA(under_file.c_str(), 7));
  EXPECT_EQ(GetLastError(), 3u);
  EXPECT_FALSE(IsOrdinaryFile(missing));
}

TEST_F(AttributesTest, AttributesSurviveRewritingTheFileInPlace) {
  ASSERT_TRUE(SetFileAttributesA(file_.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
  std::ofstream(file_, std::ios::trunc) << "new contents";
  EXPECT_EQ(GetFileAttributesA(file_.c_str()), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
}

}  // namespace
}  // namespace orvane
