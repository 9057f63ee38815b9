// Result codes of the registry API for the calls and parameters the component
// passes: 2 missing, 5 refused, 6 bad handle, 87 bad parameter, 161 bad
// path, 259 no more items, 1018 key deleted (234 is in value_data_test).
#include "registry_fixture.h"

namespace conformance {
namespace {

using ResultCodes = RegistryTest;
ORVANE_CONFORMANCE_KINDS(ResultCodes);

TEST_P(ResultCodes, MissingKeyOrValueIsFileNotFound) {
  Key key;
  EXPECT_EQ(OpenKey(Base(), "Missing", key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(key.get(), nullptr) << "a failed open leaves no handle";
  EXPECT_EQ(OpenKey(Base(), "Missing\\Deeper", key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(QueryNoBuffer(Base(), "Missing").result, ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(QueryValue(Base(), "Missing", 16).result, ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteValueA(Base(), "Missing"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteKeyA(Base(), "Missing"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteKeyA(Base(), "Missing\\Deeper"), ERROR_FILE_NOT_FOUND);
  // Opening must not have created anything on the way.
  EXPECT_TRUE(SubKeyNames(Base()).empty());
}

TEST_P(ResultCodes, MissingValueQueryClearsSizeOnlyWithoutBuffer) {
  EXPECT_EQ(QueryNoBuffer(Base(), "Missing").size, 0u);
  EXPECT_EQ(QueryValue(Base(), "Missing", 16).size, 16u);
}

TEST_P(ResultCodes, DeletingKeyWithSubKeysIsAccessDenied) {
  MustCreate(Base(), "Parent\\Child");
  EXPECT_EQ(RegDeleteKeyA(Base(), "Parent"), ERROR_ACCESS_DENIED);
  Key child;
  EXPECT_EQ(OpenKey(Base(), "Parent\\Child", child), ERROR_SUCCESS) << "the refused delete changed nothing";
  Key parent;
  ASSERT_EQ(OpenKey(Base(), "Parent", parent), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKeyA(parent.get(), ""), ERROR_ACCESS_DENIED) << "deleting through its own handle";
}

TEST_P(ResultCodes, ClosedHandleIsInvalid) {
  Key key = MustCreate(Base(), "Closed");
  ASSERT_EQ(SetDword(key.get(), "V", 1), ERROR_SUCCESS);
  HKEY stale = key.Release();
  ASSERT_EQ(RegCloseKey(stale), ERROR_SUCCESS);

  DWORD type = 0, size = 0;
  char name[kNameBuffer];
  DWORD length = kNameBuffer;
  DWORD count = 0;
  Key out;
  EXPECT_EQ(RegQueryValueExA(stale, "V", nullptr, &type, nullptr, &size), ERROR_INVALID_HANDLE);
  EXPECT_EQ(SetDword(stale, "V", 2), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegDeleteValueA(stale, "V"), ERROR_INVALID_HANDLE);
  EXPECT_EQ(OpenKey(stale, "Sub", out), ERROR_INVALID_HANDLE);
  EXPECT_EQ(CreateKey(stale, "Sub", out), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegDeleteKeyA(stale, "Sub"), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegEnumKeyExA(stale, 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegEnumValueA(stale, 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegQueryInfoKeyA(stale, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr),
            ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegFlushKey(stale), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(stale), ERROR_INVALID_HANDLE) << "closing twice";
}

TEST_P(ResultCodes, NullHandleIsInvalid) {
  Key out;
  DWORD size = 0;
  EXPECT_EQ(OpenKey(nullptr, "Software", out), ERROR_INVALID_HANDLE);
  EXPECT_EQ(OpenKey(nullptr, "", out), ERROR_INVALID_HANDLE);
  EXPECT_EQ(CreateKey(nullptr, "Software", out), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegQueryValueExA(nullptr, "V", nullptr, nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(nullptr), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegQueryInfoKeyA(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr),
            ERROR_INVALID_HANDLE);
}

TEST_P(ResultCodes, PerformanceDataRootOpensNothing) {
  Key key;
  EXPECT_EQ(OpenKey(HKEY_PERFORMANCE_DATA, "Anything", key), ERROR_INVALID_HANDLE);
  EXPECT_EQ(CreateKey(HKEY_PERFORMANCE_DATA, "Anything", key), ERROR_INVALID_HANDLE);
}

TEST_P(ResultCodes, PredefinedRootsStayValidAfterClose) {
  EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
  Key key;
  EXPECT_EQ(OpenKey(HKEY_CURRENT_USER, BasePath(), key), ERROR_SUCCESS);
  EXPECT_EQ(OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE", key), ERROR_SUCCESS);
  EXPECT_EQ(RegFlushKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
}

TEST_P(ResultCodes, MissingPointerOrReservedArgumentIsInvalidParameter) {
  ASSERT_EQ(SetString(Base(), "S", "text"), ERROR_SUCCESS);
  char buffer[16] = {};
  DWORD type = 0;
  // A data buffer without its size.
  EXPECT_EQ(RegQueryValueExA(Base(), "S", nullptr, &type, reinterpret_cast<BYTE*>(buffer), nullptr),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(buffer[0], 0) << "the refused query wrote nothing";
  // Enumerating a value without a name buffer or its length.
  DWORD length = kNameBuffer;
  EXPECT_EQ(RegEnumValueA(Base(), 0, nullptr, &length, nullptr, &type, nullptr, nullptr), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegEnumValueA(Base(), 0, buffer, nullptr, nullptr, &type, nullptr, nullptr), ERROR_INVALID_PARAMETER);
  // Enumerating a value's data without its size.
  char name[kNameBuffer];
  length = kNameBuffer;
  EXPECT_EQ(RegEnumValueA(Base(), 0, name, &length, nullptr, &type, reinterpret_cast<BYTE*>(buffer), nullptr),
            ERROR_INVALID_PARAMETER);
  // Reserved arguments that are not null.
  DWORD reserved = 0;
  DWORD size = sizeof buffer;
  EXPECT_EQ(RegQueryValueExA(Base(), "S", &reserved, &type, nullptr, &size), ERROR_INVALID_PARAMETER);
  length = kNameBuffer;
  EXPECT_EQ(RegEnumValueA(Base(), 0, name, &length, &reserved, &type, nullptr, nullptr), ERROR_INVALID_PARAMETER);
  MustCreate(Base(), "Sub");
  length = kNameBuffer;
  EXPECT_EQ(RegEnumKeyExA(Base(), 0, name, &length, &reserved, nullptr, nullptr, nullptr), ERROR_INVALID_PARAMETER);
  // Deleting a key without naming it.
  EXPECT_EQ(RegDeleteKeyA(Base(), nullptr), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(SubKeyNames(Base()), std::vector<std::string>{"Sub"});
}

TEST_P(ResultCodes, LeadingBackslashIsBadPathname) {
  MustCreate(Base(), "Sub");
  Key key;
  EXPECT_EQ(OpenKey(Base(), "\\Sub", key), ERROR_BAD_PATHNAME);
  EXPECT_EQ(CreateKey(Base(), "\\Other", key), ERROR_BAD_PATHNAME);
  EXPECT_EQ(OpenKey(HKEY_CURRENT_USER, "\\" + BasePath(), key), ERROR_BAD_PATHNAME);
  EXPECT_EQ(CreateKey(HKEY_CURRENT_USER, "\\" + BasePath() + "\\Other", key), ERROR_BAD_PATHNAME);
  EXPECT_EQ(SubKeyNames(Base()), std::vector<std::string>{"Sub"}) << "nothing was created";
}

TEST_P(ResultCodes, EnumerationPastTheEndIsNoMoreItems) {
  char name[kNameBuffer];
  DWORD length = kNameBuffer;
  EXPECT_EQ(RegEnumKeyExA(Base(), 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
  length = kNameBuffer;
  EXPECT_EQ(RegEnumValueA(Base(), 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);

  MustCreate(Base(), "One");
  MustCreate(Base(), "Two");
  ASSERT_EQ(SetDword(Base(), "V", 1), ERROR_SUCCESS);
  for (DWORD index : {2u, 3u, 1000u}) {
    length = kNameBuffer;
    EXPECT_EQ(RegEnumKeyExA(Base(), index, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS)
        << index;
  }
  length = kNameBuffer;
  EXPECT_EQ(RegEnumValueA(Base(), 1, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
}

}  // namespace
}  // namespace conformance
