// The numbered errors: every message of the table by its code, the generic
// message for codes outside it, and the fixed fields of every record.
#include "registry/registry_error.h"

#include <gtest/gtest.h>

#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace orvane {
namespace {

// The help file every numbered error names: on Windows Orvanex.hlp beside
// the module that holds the component (here this test program), elsewhere
// the configured one.
std::string ExpectedHelpFile() {
#ifdef _WIN32
  char path[MAX_PATH * 2] = {};
  const std::string program(path, GetModuleFileNameA(nullptr, path, sizeof path));
  return program.substr(0, program.find_last_of('\\') + 1) + "Orvanex.hlp";
#else
  return ORVANE_EXPECTED_HELP_FILE;
#endif
}

struct Expected {
  int32_t code;
  int32_t number;
  const char* description;
};

// The published table, letter for letter ("diabled", "can't be find", and
// the missing full stops of 134, 139, 140 and 998 included).
const Expected kTable[] = {
    {1, 60001, "The configuration registry database is corrupt."},
    {2, 60002, "The configuration registry key is invalid."},
    {3, 60003, "The configuration registry key could not be opened."},
    {4, 60004, "The configuration registry key could not be read."},
    {5, 60005, "The configuration registry key could not be written."},
    {6, 60006, "Not enough storage is available to complete this operation."},
    {7, 60007, "The parameter is incorrect."},
    {8, 60008, "Access is denied."},
    {9, 60009, "The configuration registry key does not exist."},
    {10, 60010, "The configuration registry key is too long."},
    {87, 60007, "The parameter is incorrect."},
    {100, 60100, "No enough actions to undo."},
    {101, 60101, "Undo method is diabled because the UndoEnabled property is false."},
    {102, 60102, "The newest undo record was removed: the data needed to undo it is gone."},
    {110, 60110, "The registry file can't be imported because MS Quorvel can't be find."},
    {111, 60111, "The registry file can't be exported because MS Quorvel can't be find."},
    {120, 60120, "The registry can't be restored because the backup file doesn't exist."},
    {130, 60130, "Can't move a key into itself."},
    {131, 60131, "Can't copy a key into itself."},
    {132, 60132, "The source key and the destination key are the same."},
    {133, 60133, "The configuration registry value does not exist."},
    {134, 60134, "The destination key already exists"},
    {139, 60139, "The destination value name already exists"},
    {140, 60140, "Reserved parameter must be zero"},
    {150, 60150, "Can't replace a string with another that contains the first."},
    {259, 60259, "No more data is available."},
    {998, 60998, "HKEY_DYN_DATA root key is not available under Windows NT"},
    {999, 60999, "I'm sorry but this property (or method) is not still available."},
    {1114, 61114, "Connection is denied."},
    // Codes outside the table: the generic message names the code as given.
    {11, 60011, "A generic error occurs using Orvane (error #11)."},
    {-1, 59999, "A generic error occurs using Orvane (error #-1)."},
    {135, 60135, "A generic error occurs using Orvane (error #135)."},
    {141, 60141, "A generic error occurs using Orvane (error #141)."},
    {149, 60149, "A generic error occurs using Orvane (error #149)."},
    {1018, 61018, "A generic error occurs using Orvane (error #1018)."},
};

ErrorRecord Raised(int32_t code) {
  try {
    RaiseRegistryError(code);
  } catch (const Error& error) {
    return error.record();
  }
  ADD_FAILURE() << "code " << code << " raised nothing";
  return {};
}

TEST(RegistryError, EveryCodeRaisesItsNumberAndExactMessage) {
  for (const Expected& expected : kTable) {
    const ErrorRecord record = Raised(expected.code);
    EXPECT_EQ(record.number, expected.number) << "code " << expected.code;
    EXPECT_EQ(record.description, expected.description) << "code " << expected.code;
  }
}

TEST(RegistryError, EveryRecordCarriesSourceHelpFileAndContext) {
  for (const Expected& expected : kTable) {
    const ErrorRecord record = Raised(expected.code);
    EXPECT_EQ(record.source, "Orvane");
    EXPECT_EQ(record.help_context, 1000);
    EXPECT_EQ(record.help_file, ExpectedHelpFile());
  }
  EXPECT_TRUE(ExpectedHelpFile().ends_with("Orvanex.hlp"));
}

TEST(RegistryError, CodeZeroRaisesNothingAndReturnsFalse) {
  EXPECT_FALSE(RaiseRegistryError(0));
}

}  // namespace
}  // namespace orvane
