// Helpers of the C++ client tests: COM initialised per test, the control
// created by its ProgID, and late-bound calls by name through IDispatch
// only, with positional and named arguments (first argument first).
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvane::testing {

// A VARIANT that clears itself.
struct Var : VARIANT {
  Var() { VariantInit(this); }
  explicit Var(const wchar_t* text) : Var() { vt = VT_BSTR; bstrVal = SysAllocString(text); }
  explicit Var(long number) : Var() { vt = VT_I4; lVal = number; }
  ~Var() { VariantClear(this); }
  Var(const Var&) = delete;
  Var& operator=(const Var&) = delete;
};

// The text a VARIANT holds, or "<not text>" when it holds no string.
inline std::wstring Text(const VARIANT& value) {
  return value.vt == VT_BSTR ? std::wstring(value.bstrVal, SysStringLen(value.bstrVal)) : L"<not text>";
}

// What one late-bound call returned.
struct CallResult {
  HRESULT status = S_OK;
  EXCEPINFO exception{};
  UINT arg_error = 0;
  ~CallResult() {
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
  }
};

class ComClientTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The member's identifier, from GetIDsOfNames.
  DISPID Id(const wchar_t* name);

  // Calls `name` with `args` (first argument first; pointers the caller
  // owns, so by-reference VARIANTs can be inspected). `named` gives the
  // parameter names of the last named.size() arguments.
  HRESULT Call(const wchar_t* name, WORD flags, std::vector<VARIANT*> args, VARIANT* result,
               CallResult* outcome = nullptr, std::vector<const wchar_t*> named = {});

  void Put(const wchar_t* name, VARIANT* value);
  void Get(const wchar_t* name, VARIANT* result);

  IDispatch* control_ = nullptr;
};

}  // namespace orvane::testing
