// The control driven through IDispatch only, as a late-bound client drives
// it: names in any case, named and omitted arguments, by-reference
// write-back, arrays, and errors as DISP_E_EXCEPTION with their EXCEPINFO.
#include <windows.h>
#include <oleauto.h>
#include <ocidl.h>

#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "com/com_client.h"
#include "com/guids.h"

namespace orvane::testing {
namespace {

constexpr HRESULT kUndoDisabled = MAKE_HRESULT(1, FACILITY_CONTROL, 60101);
constexpr HRESULT kTypeMismatch = MAKE_HRESULT(1, FACILITY_CONTROL, 13);
constexpr HRESULT kParameterIncorrect = MAKE_HRESULT(1, FACILITY_CONTROL, 60007);
constexpr const wchar_t* kTestKey = L"HKEY_CURRENT_USER\\Software\\OrvaneClient";

GUID TypeLibraryId() {
  const std::string braced = com::BracedId(com::kLibraryId);
  const std::wstring wide(braced.begin(), braced.end());
  GUID guid{};
  CLSIDFromString(wide.c_str(), &guid);
  return guid;
}

class DispatchClientTest : public ComClientTest {
 protected:
  void TearDown() override {
    if (control_ != nullptr) {
      Var path(kTestKey);
      Put(L"GlobalKeyPath", &path);
      Var ignored;
      Call(L"DeleteKey", DISPATCH_METHOD, {}, &ignored);
    }
    ComClientTest::TearDown();
  }

  // The number of sub-keys of kTestKey.
  long KeyCount() {
    Var path(kTestKey), keys(1L), count;
    Put(L"GlobalKeyPath", &path);
    EXPECT_HRESULT_SUCCEEDED(Call(L"Count", DISPATCH_METHOD, {&keys}, &count));
    return count.vt == VT_I4 ? count.lVal : -1;
  }

  // Creates kTestKey\<name>.
  void MakeKey(const std::wstring& name) {
    Var path((std::wstring(kTestKey) + L"\\" + name).c_str());
    Put(L"GlobalKeyPath", &path);
    Var none;
    ASSERT_HRESULT_SUCCEEDED(Call(L"SetKey", DISPATCH_METHOD, {}, &none));
  }
};

TEST_F(DispatchClientTest, MemberAndParameterNamesAreFoundInAnyLetterCase) {
  EXPECT_EQ(Id(L"hkey"), 0x68030005);
  EXPECT_EQ(Id(L"GLOBALKEYPATH"), 0x68030006);
  LPOLESTR names[] = {const_cast<LPOLESTR>(L"count"), const_cast<LPOLESTR>(L"COUNTMODE"),
                      const_cast<LPOLESTR>(L"countType")};
  DISPID ids[3] = {};
  ASSERT_HRESULT_SUCCEEDED(control_->GetIDsOfNames(IID_NULL, names, 3, LOCALE_USER_DEFAULT, ids));
  EXPECT_EQ(ids[0], 0x60030018);
  EXPECT_EQ(ids[1], 1);
  EXPECT_EQ(ids[2], 0);

  LPOLESTR unknown[] = {const_cast<LPOLESTR>(L"Count"), const_cast<LPOLESTR>(L"NoSuchParameter")};
  EXPECT_EQ(control_->GetIDsOfNames(IID_NULL, unknown, 2, LOCALE_USER_DEFAULT, ids), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(ids[1], DISPID_UNKNOWN);
  LPOLESTR no_member[] = {const_cast<LPOLESTR>(L"NoSuchMember")};
  EXPECT_EQ(control_->GetIDsOfNames(IID_NULL, no_member, 1, LOCALE_USER_DEFAULT, ids), DISP_E_UNKNOWNNAME);
}

TEST_F(DispatchClientTest, PropertiesArePutAndReadBack) {
  Var path(L"hkey_current_user\\\\Software\\OrvaneClient\\");
  Put(L"GlobalKeyPath", &path);
  Var global, root, sub_key;
  Get(L"GlobalKeyPath", &global);
  Get(L"hKey", &root);
  Get(L"SubKeyPath", &sub_key);
  EXPECT_EQ(Text(global), L"HKEY_CURRENT_USER\\Software\\OrvaneClient");
  ASSERT_EQ(root.vt, VT_I4);
  EXPECT_EQ(static_cast<unsigned long>(root.lVal), 0x80000001ul);
  EXPECT_EQ(Text(sub_key), L"Software\\OrvaneClient");
}

TEST_F(DispatchClientTest, NamedArgumentsReachTheirParametersInAnyOrder) {
  MakeKey(L"A\\Deep");
  MakeKey(L"B");
  Var path(kTestKey);
  Put(L"GlobalKeyPath", &path);
  Var mode(1L), type(1L), result;
  // Count(CountMode:=1, CountType:=1): sub-keys with their descendants.
  ASSERT_HRESULT_SUCCEEDED(Call(L"Count", DISPATCH_METHOD, {&mode, &type}, &result, nullptr,
                                {L"CountMode", L"CountType"}));
  ASSERT_EQ(result.vt, VT_I4);
  EXPECT_EQ(result.lVal, 3);
}

TEST_F(DispatchClientTest, AnOmittedOptionalArgumentTakesItsDefault) {
  MakeKey(L"A\\Deep");
  Var path(kTestKey);
  Put(L"GlobalKeyPath", &path);
  Var type(1L), omitted, result;
  omitted.vt = VT_ERROR;
  omitted.scode = DISP_E_PARAMNOTFOUND;
  ASSERT_HRESULT_SUCCEEDED(Call(L"Count", DISPATCH_METHOD, {&type, &omitted}, &result));
  ASSERT_EQ(result.vt, VT_I4);
  EXPECT_EQ(result.lVal, 1);  // CountMode's default: without descendants
}

TEST_F(DispatchClientTest, ByReferenceArgumentsAreWrittenBackInTheirOwnType) {
  MakeKey(L"Old");
  BSTR name = SysAllocString(L"New");
  VARIANT by_ref;
  VariantInit(&by_ref);
  by_ref.vt = VT_BYREF | VT_BSTR;
  by_ref.pbstrVal = &name;
  Var none;
  ASSERT_HRESULT_SUCCEEDED(Call(L"RenameKey", DISPATCH_METHOD, {&by_ref}, &none));
  EXPECT_EQ(std::wstring(name), L"Software\\OrvaneClient\\New");
  SysFreeString(name);

  // A VARIANT passed by reference, as VBScript passes a variable.
  MakeKey(L"New");
  Var held(L"Newer");
  VARIANT variant_ref;
  VariantInit(&variant_ref);
  variant_ref.vt = VT_BYREF | VT_VARIANT;
  variant_ref.pvarVal = &held;
  ASSERT_HRESULT_SUCCEEDED(Call(L"RenameKey", DISPATCH_METHOD, {&variant_ref}, &none));
  EXPECT_EQ(Text(held), L"Software\\OrvaneClient\\Newer");
}

// A typed reference that cannot hold the new path is refused before the
// key is touched: nothing renamed, nothing created, the variable as it was.
TEST_F(DispatchClientTest, AByReferenceArgumentThatCannotReceiveTheResultIsRefusedFirst) {
  LONG whole = 7;
  DOUBLE fraction = 12.5;
  VARIANT whole_ref, fraction_ref;
  VariantInit(&whole_ref);
  whole_ref.vt = VT_BYREF | VT_I4;
  whole_ref.plVal = &whole;
  VariantInit(&fraction_ref);
  fraction_ref.vt = VT_BYREF | VT_R8;
  fraction_ref.pdblVal = &fraction;
  for (VARIANT* argument : {&whole_ref, &fraction_ref}) {
    SCOPED_TRACE(argument->vt);
    MakeKey(L"Old");
    CallResult outcome;
    Var none;
    ASSERT_EQ(Call(L"RenameKey", DISPATCH_METHOD, {argument}, &none, &outcome), DISP_E_EXCEPTION);
    EXPECT_EQ(outcome.exception.scode, kTypeMismatch);
    EXPECT_EQ(KeyCount(), 1);
    HKEY old = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\OrvaneClient\\Old", 0, KEY_READ, &old), ERROR_SUCCESS);
    if (old != nullptr) RegCloseKey(old);
  }
  EXPECT_EQ(whole, 7);
  EXPECT_EQ(fraction, 12.5);
}

// An array variable passed by reference (as VB and VBA pass one) gets the
// keys' paths; an object that is not an array (a script's object) is no
// key array, and the caller keeps it.
TEST_F(DispatchClientTest, SetAllKeysWritesThePathsBackIntoAnArrayPassedByReference) {
  SAFEARRAYBOUND bound{2, 1};
  SAFEARRAY* array = SafeArrayCreate(VT_VARIANT, 1, &bound);
  const wchar_t* names[] = {L"One", L"Two"};
  for (LONG i = 1; i <= 2; ++i) {
    Var name(names[i - 1]);
    SafeArrayPutElement(array, &i, &name);
  }
  VARIANT by_ref;
  VariantInit(&by_ref);
  by_ref.vt = VT_BYREF | VT_ARRAY | VT_VARIANT;
  by_ref.pparray = &array;
  Var path(kTestKey), none;
  Put(L"GlobalKeyPath", &path);
  ASSERT_HRESULT_SUCCEEDED(Call(L"SetAllKeys", DISPATCH_METHOD, {&by_ref}, &none));
  for (LONG i = 1; i <= 2; ++i) {
    Var element;
    ASSERT_HRESULT_SUCCEEDED(SafeArrayGetElement(array, &i, &element));
    EXPECT_EQ(Text(element), std::wstring(L"Software\\OrvaneClient\\") + names[i - 1]);
  }
  SafeArrayDestroy(array);

  Var object, held;
  object.vt = VT_DISPATCH;
  object.pdispVal = control_;
  control_->AddRef();
  held.vt = VT_DISPATCH;
  held.pdispVal = control_;
  control_->AddRef();
  VARIANT held_ref;
  VariantInit(&held_ref);
  held_ref.vt = VT_BYREF | VT_VARIANT;
  held_ref.pvarVal = &held;
  for (VARIANT* argument : {static_cast<VARIANT*>(&object), &held_ref}) {
    CallResult outcome;
    ASSERT_EQ(Call(L"SetAllKeys", DISPATCH_METHOD, {argument}, &none, &outcome), DISP_E_EXCEPTION);
    EXPECT_EQ(outcome.exception.scode, kParameterIncorrect);
  }
  EXPECT_EQ(held.vt, VT_DISPATCH);
}

TEST_F(DispatchClientTest, ArraysArriveAsSafeArraysOfVariantWithTheirBounds) {
  MakeKey(L"One");
  MakeKey(L"Two");
  Var path(kTestKey);
  Put(L"GlobalKeyPath", &path);
  Var keys;
  ASSERT_HRESULT_SUCCEEDED(Call(L"GetAllKeys", DISPATCH_METHOD, {}, &keys));
  ASSERT_EQ(keys.vt, VT_ARRAY | VT_VARIANT);
  ASSERT_EQ(SafeArrayGetDim(keys.parray), 1u);
  LONG lower = -1, upper = -1;
  SafeArrayGetLBound(keys.parray, 1, &lower);
  SafeArrayGetUBound(keys.parray, 1, &upper);
  EXPECT_EQ(lower, 0);
  ASSERT_EQ(upper, 1);
  Var second;
  LONG index = 1;
  ASSERT_HRESULT_SUCCEEDED(SafeArrayGetElement(keys.parray, &index, &second));
  EXPECT_EQ(Text(second), L"Two");

  Var name(L"Item"), text(L"stored"), none, values;
  Put(L"ValueName", &name);
  Put(L"Value", &text);
  ASSERT_HRESULT_SUCCEEDED(Call(L"SetValue", DISPATCH_METHOD, {}, &none));
  ASSERT_HRESULT_SUCCEEDED(Call(L"GetAllValues", DISPATCH_METHOD, {}, &values));
  ASSERT_EQ(values.vt, VT_ARRAY | VT_VARIANT);
  ASSERT_EQ(SafeArrayGetDim(values.parray), 2u);
  SafeArrayGetUBound(values.parray, 1, &upper);
  EXPECT_EQ(upper, 0);
  Var cell;
  LONG cell_index[2] = {0, 1};  // (row 0, column 1): the data
  ASSERT_HRESULT_SUCCEEDED(SafeArrayGetElement(values.parray, cell_index, &cell));
  EXPECT_EQ(Text(cell), L"stored");
}

TEST_F(DispatchClientTest, NumberedErrorsArriveAsExceptionsInTheControlFacility) {
  CallResult outcome;
  Var none;
  ASSERT_EQ(Call(L"Undo", DISPATCH_METHOD, {}, &none, &outcome), DISP_E_EXCEPTION);
  EXPECT_EQ(outcome.exception.scode, kUndoDisabled);
  EXPECT_EQ(std::wstring(outcome.exception.bstrSource), L"Orvane");
  ASSERT_NE(outcome.exception.bstrDescription, nullptr);
  EXPECT_NE(std::wstring(outcome.exception.bstrDescription).find(L"UndoEnabled"), std::wstring::npos);
  // The help file beside the server, where the type library's HELPDIR points.
  BSTR server = nullptr;
  ASSERT_HRESULT_SUCCEEDED(QueryPathOfRegTypeLib(TypeLibraryId(), 1, 0, 0, &server));
  std::wstring help_file(server);
  SysFreeString(server);
  help_file = help_file.substr(0, help_file.find_last_of(L'\\') + 1) + L"Orvanex.hlp";
  ASSERT_NE(outcome.exception.bstrHelpFile, nullptr);
  EXPECT_EQ(std::wstring(outcome.exception.bstrHelpFile), help_file);
  EXPECT_EQ(outcome.exception.dwHelpContext, 1000u);

  // The same error through the error object, for clients that read it.
  IErrorInfo* info = nullptr;
  ASSERT_EQ(GetErrorInfo(0, &info), S_OK);
  BSTR description = nullptr;
  info->GetDescription(&description);
  EXPECT_EQ(std::wstring(description), std::wstring(outcome.exception.bstrDescription));
  SysFreeString(description);
  info->Release();

  ISupportErrorInfo* supports = nullptr;
  ASSERT_HRESULT_SUCCEEDED(control_->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&supports)));
  EXPECT_EQ(supports->InterfaceSupportsErrorInfo(IID_IDispatch), S_OK);
  supports->Release();
}

TEST_F(DispatchClientTest, ConversionErrorsAreTheRuntimesAndNeedNoExceptionRecord) {
  Var text(L"not a number");
  CallResult outcome;
  ASSERT_EQ(Call(L"hKey", DISPATCH_PROPERTYPUT, {&text}, nullptr, &outcome), DISP_E_EXCEPTION);
  EXPECT_EQ(outcome.exception.scode, kTypeMismatch);

  // The reserved interface argument must be IID_NULL.
  DISPPARAMS no_arguments{};
  EXPECT_EQ(control_->Invoke(Id(L"hKey"), IID_IDispatch, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &no_arguments,
                             nullptr, nullptr, nullptr),
            DISP_E_UNKNOWNINTERFACE);

  // Without an EXCEPINFO the error's own HRESULT is the result.
  DISPID id = Id(L"Undo");
  DISPPARAMS none{};
  EXPECT_EQ(control_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
            kUndoDisabled);
}

std::string Utf8(const wchar_t* text) {
  if (text == nullptr) return {};
  char buffer[1024] = {};
  WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof buffer - 1, nullptr, nullptr);
  return buffer;
}

// The data of a value as the registry's wide-character side holds it.
std::wstring StoredText(const std::wstring& name, DWORD* type) {
  HKEY key = nullptr;
  const wchar_t* path = L"Software\\OrvaneClient\\\u9375";
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return L"<no key>";
  std::wstring data(256, L'\0');
  DWORD size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
  const LONG status = RegQueryValueExW(key, name.c_str(), nullptr, type, reinterpret_cast<BYTE*>(data.data()), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) return L"<no value>";
  data.resize(size / sizeof(wchar_t));
  return data;
}

// Key names, value names and string data beyond ASCII cross IDispatch, the
// control and the registry unchanged, whatever the process's ANSI code page: the registry
// holds the same UTF-16 text, and names that differ only beyond ASCII
// (one "?" in a single-byte code page) stay two values.
TEST_F(DispatchClientTest, TextBeyondAsciiRoundTripsThroughTheRegistry) {
  using namespace std::string_literals;
  struct Row {
    std::wstring name;
    long type;
    std::wstring written, read, stored;
  };
  const Row rows[] = {
      {L"u\u4E2Dx", REG_SZ, L"d\u4E2D", L"d\u4E2D", L"d\u4E2D\0"s},
      {L"u\u6587x", REG_SZ, L"caf\u00E9 \U0001F600", L"caf\u00E9 \U0001F600", L"caf\u00E9 \U0001F600\0"s},
      {L"m\u00E9", REG_MULTI_SZ, L"a\u4E2D\0b\u20AC"s, L"a\u4E2D|b\u20AC", L"a\u4E2D\0b\u20AC\0\0"s},
      {L"e\u00E9", REG_EXPAND_SZ, L"%WINDIR%\\\u4E2D", L"C:\\windows\\\u4E2D", L"%WINDIR%\\\u4E2D\0"s},
  };
  MakeKey(L"\u9375");
  for (const Row& row : rows) {
    Var name(row.name.c_str()), type(row.type), none;
    Var value;
    value.vt = VT_BSTR;
    value.bstrVal = SysAllocStringLen(row.written.data(), static_cast<UINT>(row.written.size()));
    Put(L"ValueName", &name);
    Put(L"ValueType", &type);
    Put(L"Value", &value);
    ASSERT_HRESULT_SUCCEEDED(Call(L"SetValue", DISPATCH_METHOD, {}, &none));
  }
  for (const Row& row : rows) {
    SCOPED_TRACE(row.read);
    Var name(row.name.c_str()), type(row.type), none, read;
    Put(L"ValueName", &name);
    Put(L"ValueType", &type);
    ASSERT_HRESULT_SUCCEEDED(Call(L"GetValue", DISPATCH_METHOD, {}, &none));
    Get(L"Value", &read);
    EXPECT_EQ(Text(read), row.read);
    DWORD stored_type = 0;
    EXPECT_EQ(StoredText(row.name, &stored_type), row.stored);
    EXPECT_EQ(stored_type, static_cast<DWORD>(row.type));
  }
  Var values(0L), count;
  ASSERT_HRESULT_SUCCEEDED(Call(L"Count", DISPATCH_METHOD, {&values}, &count));
  EXPECT_EQ(count.lVal, static_cast<long>(std::size(rows)));
}

// An export holds names and data beyond ASCII in UTF-8, as on Linux, in a
// file whose own name is beyond ASCII.
TEST_F(DispatchClientTest, ExportWritesTextBeyondAsciiAsUtf8) {
  MakeKey(L"\u9375");
  Var name(L"u\u4E2Dx"), value(L"d\u4E2D"), none;
  Put(L"ValueName", &name);
  Put(L"Value", &value);
  ASSERT_HRESULT_SUCCEEDED(Call(L"SetValue", DISPATCH_METHOD, {}, &none));
  wchar_t folder[MAX_PATH] = {};
  ASSERT_NE(GetTempPathW(MAX_PATH, folder), 0u);
  const std::wstring file = std::wstring(folder) + L"export-\u00E9\u4E2D";
  Var target(file.c_str());
  CallResult outcome;
  ASSERT_HRESULT_SUCCEEDED(Call(L"Export", DISPATCH_METHOD, {&target}, &none, &outcome))
      << outcome.exception.scode << " " << Utf8(outcome.exception.bstrDescription);

  std::string text;
  HANDLE handle = CreateFileW((file + L".reg").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(handle, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
  CloseHandle(handle);
  DeleteFileW((file + L".reg").c_str());
  for (const char* line : {"[HKEY_CURRENT_USER\\Software\\OrvaneClient\\\xE9\x8D\xB5]",
                           "\"u\xE4\xB8\xADx\"=\"d\xE4\xB8\xAD\""}) {
    EXPECT_NE(text.find(line), std::string::npos) << line;
  }
}

TEST_F(DispatchClientTest, ClassInformationNamesTheEventInterface) {
  IProvideClassInfo2* class_info = nullptr;
  ASSERT_HRESULT_SUCCEEDED(
      control_->QueryInterface(IID_IProvideClassInfo2, reinterpret_cast<void**>(&class_info)));
  GUID events{};
  ASSERT_HRESULT_SUCCEEDED(class_info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events));
  wchar_t text[64] = {};
  StringFromGUID2(events, text, 64);
  const std::string expected = com::BracedId(com::kEventsId);
  EXPECT_EQ(std::wstring(text), std::wstring(expected.begin(), expected.end()));
  ITypeInfo* coclass = nullptr;
  ASSERT_HRESULT_SUCCEEDED(class_info->GetClassInfo(&coclass));
  BSTR name = nullptr;
  coclass->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
  EXPECT_EQ(std::wstring(name), L"Quorvel");
  SysFreeString(name);
  coclass->Release();
  class_info->Release();
}

}  // namespace
}  // namespace orvane::testing
