// The runtime's standard errors: the record they carry, the fixed message
// table, and the mapping of errno values from file operations.
#include <gtest/gtest.h>

#include <cerrno>

#include "orvane/runtime_errors.h"
#include "tests/runtime/raised.h"

namespace orvane {
namespace {

using testing::Raised;

TEST(RuntimeErrors, RecordCarriesNumberSourceMessageAndNoHelp) {
  try {
    RaiseRuntimeError(kErrOverflow);
    FAIL() << "nothing raised";
  } catch (const Error& error) {
    EXPECT_EQ(error.number(), 6);
    EXPECT_EQ(error.record().source, "RegistryEditor");
    EXPECT_EQ(error.description(), "Overflow");
    EXPECT_STREQ(error.what(), "Overflow");
    EXPECT_EQ(error.record().help_file, "");
    EXPECT_EQ(error.record().help_context, 0);
  }
}

TEST(RuntimeErrors, StandardMessages) {
  const std::pair<int32_t, const char*> expected[] = {
      {5, "Invalid procedure call or argument"},
      {6, "Overflow"},
      {7, "Out of memory"},
      {9, "Subscript out of range"},
      {13, "Type mismatch"},
      {52, "Bad file name or number"},
      {53, "File not found"},
      {57, "Device I/O error"},
      {58, "File already exists"},
      {61, "Disk full"},
      {70, "Permission denied"},
      {75, "Path/File access error"},
      {76, "Path not found"},
      {94, "Invalid use of Null"},
      {438, "Object doesn't support this property or method"},
      {449, "Argument not optional"},
      {450, "Wrong number of arguments or invalid property assignment"},
  };
  for (const auto& [number, message] : expected) {
    EXPECT_STREQ(RuntimeErrorMessage(number), message) << number;
    EXPECT_EQ(RuntimeErrorRecord(number).description, message) << number;
  }
  EXPECT_STREQ(RuntimeErrorMessage(60007), "Application-defined or object-defined error");
  EXPECT_STREQ(RuntimeErrorMessage(0), "Application-defined or object-defined error");
}

TEST(RuntimeErrors, FileErrorsByErrnoAndPathPart) {
  EXPECT_EQ(FileErrorNumber(ENOENT), 53);
  EXPECT_EQ(FileErrorNumber(ENOENT, FilePart::kDirectory), 76);
  EXPECT_EQ(FileErrorNumber(ENOTDIR), 76);
  EXPECT_EQ(FileErrorNumber(ENOTDIR, FilePart::kDirectory), 76);
  EXPECT_EQ(FileErrorNumber(EACCES), 70);
  EXPECT_EQ(FileErrorNumber(EPERM), 70);
  EXPECT_EQ(FileErrorNumber(EROFS), 70);
  EXPECT_EQ(FileErrorNumber(EISDIR), 75);
  EXPECT_EQ(FileErrorNumber(ENAMETOOLONG), 75);
  EXPECT_EQ(FileErrorNumber(EINVAL), 75);
  EXPECT_EQ(FileErrorNumber(ENOSPC), 61);
  EXPECT_EQ(FileErrorNumber(EIO), 57);
  EXPECT_EQ(FileErrorNumber(EEXIST), 58);
  EXPECT_EQ(FileErrorNumber(EMFILE), 67);
  EXPECT_EQ(Raised([] { RaiseFileError(ENOENT); }), 53);
  EXPECT_EQ(Raised([] { RaiseFileError(ENOENT, FilePart::kDirectory); }), 76);
  EXPECT_EQ(Raised([] { RaiseFileError(EACCES, FilePart::kDirectory); }), 70);
}

}  // namespace
}  // namespace orvane
