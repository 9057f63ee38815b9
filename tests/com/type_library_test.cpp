// The registered type library, loaded as clients load it, checked member by
// member against the dispatch table the server dispatches with.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "about/about_box.h"
#include "com/guids.h"
#include "orvane/dispatch.h"

namespace orvane {
namespace {

GUID Guid(const char* text) {
  const std::string braced = com::BracedId(text);
  std::wstring wide(braced.begin(), braced.end());
  GUID guid{};
  CLSIDFromString(wide.c_str(), &guid);
  return guid;
}

std::string Narrow(BSTR text) {
  std::string out;
  for (UINT i = 0; text != nullptr && i < SysStringLen(text); ++i) out += static_cast<char>(text[i]);
  return out;
}

class TypeLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    ASSERT_HRESULT_SUCCEEDED(LoadRegTypeLib(Guid(com::kLibraryId), 1, 0, 0, &library_));
  }
  void TearDown() override {
    if (library_ != nullptr) library_->Release();
    CoUninitialize();
  }

  ITypeInfo* Info(const char* id) {
    ITypeInfo* info = nullptr;
    EXPECT_HRESULT_SUCCEEDED(library_->GetTypeInfoOfGuid(Guid(id), &info)) << id;
    return info;
  }

  ITypeLib* library_ = nullptr;
};

// What the type library says about one function of the dispinterface.
struct Function {
  INVOKEKIND kind;
  std::vector<std::string> names;  // the member, then its parameters
  std::vector<ELEMDESC> params;
  VARTYPE result;
};

// The default of a parameter, as text ("" without one).
std::string DefaultOf(const ELEMDESC& param) {
  if (!(param.paramdesc.wParamFlags & PARAMFLAG_FHASDEFAULT)) return "";
  VARIANT text;
  VariantInit(&text);
  VariantChangeType(&text, &param.paramdesc.pparamdescex->varDefaultValue, VARIANT_ALPHABOOL, VT_BSTR);
  const std::string out = Narrow(text.bstrVal);
  VariantClear(&text);
  return out;
}

// The automation type a type library spelling stands for.
VARTYPE ExpectedType(const std::string& type_name) {
  if (type_name == "String") return VT_BSTR;
  if (type_name == "Long") return VT_I4;
  if (type_name == "Integer") return VT_I2;
  if (type_name == "Boolean") return VT_BOOL;
  if (type_name == "Variant") return VT_VARIANT;
  if (type_name == "Byte") return VT_UI1;
  if (type_name.empty()) return VT_VOID;
  return VT_USERDEFINED;  // an enumeration
}

std::string ExpectedDefault(const ParamInfo& param) {
  if (!param.has_default) return "";
  if (param.default_value.type() == VarType::kBoolean) return param.default_value.boolean() ? "True" : "False";
  return ToString(param.default_value);
}

// `check_names`: GetNames by identifier answers for a property's get
// accessor, so a put accessor's parameter name cannot be read that way.
void CheckParameters(const MemberInfo& member, const Function& function, size_t count, bool check_names) {
  ASSERT_EQ(function.params.size(), count) << member.name;
  for (size_t i = 0; i < count; ++i) {
    const ParamInfo& param = member.params[i];
    const ELEMDESC& described = function.params[i];
    SCOPED_TRACE(member.name + " parameter " + param.name);
    if (check_names) {
      ASSERT_GT(function.names.size(), i + 1);
      EXPECT_EQ(function.names[i + 1], param.name);
    }
    EXPECT_EQ(described.tdesc.vt == VT_PTR, param.by_ref);
    const TYPEDESC& type = described.tdesc.vt == VT_PTR ? *described.tdesc.lptdesc : described.tdesc;
    EXPECT_EQ(type.vt, ExpectedType(param.type_name));
    EXPECT_EQ((described.paramdesc.wParamFlags & PARAMFLAG_FOPT) != 0, param.optional);
    EXPECT_EQ(DefaultOf(described), ExpectedDefault(param));
  }
}

TEST_F(TypeLibraryTest, DispatchInterfaceHasEveryMemberOfTheTableAsTheTableGivesIt) {
  ITypeInfo* info = Info(com::kDispatchId);
  ASSERT_NE(info, nullptr);
  TYPEATTR* attributes = nullptr;
  ASSERT_HRESULT_SUCCEEDED(info->GetTypeAttr(&attributes));
  EXPECT_EQ(attributes->typekind, TKIND_DISPATCH);
  std::multimap<MEMBERID, Function> functions;
  for (WORD f = 0; f < attributes->cFuncs; ++f) {
    FUNCDESC* desc = nullptr;
    ASSERT_HRESULT_SUCCEEDED(info->GetFuncDesc(f, &desc));
    BSTR names[32] = {};
    UINT count = 0;
    info->GetNames(desc->memid, names, 32, &count);
    Function function{desc->invkind, {}, {}, desc->elemdescFunc.tdesc.vt};
    for (UINT n = 0; n < count; ++n) {
      function.names.push_back(Narrow(names[n]));
      SysFreeString(names[n]);
    }
    function.params.assign(desc->lprgelemdescParam, desc->lprgelemdescParam + desc->cParams);
    functions.emplace(desc->memid, function);
    // `desc` is kept, not released: the copied parameter descriptions point into it.
  }
  size_t expected_functions = 0;
  for (const MemberInfo& member : QuorvelMembers()) {
    SCOPED_TRACE(member.name);
    const auto [first, last] = functions.equal_range(member.dispid);
    const size_t found = static_cast<size_t>(std::distance(first, last));
    BSTR help = nullptr;
    DWORD help_context = 0;
    info->GetDocumentation(member.dispid, nullptr, &help, &help_context, nullptr);
    EXPECT_EQ(Narrow(help), member.help_string);
    EXPECT_EQ(static_cast<int32_t>(help_context), member.help_context);
    SysFreeString(help);
    if (member.kind == MemberKind::kProperty) {
      expected_functions += 2;
      ASSERT_EQ(found, 2u);
      for (auto it = first; it != last; ++it) {
        EXPECT_EQ(it->second.names.at(0), member.name);
        if (it->second.kind == INVOKE_PROPERTYPUT) {
          CheckParameters(member, it->second, 1, false);
        } else {
          EXPECT_EQ(it->second.kind, INVOKE_PROPERTYGET);
          EXPECT_EQ(it->second.result, ExpectedType(member.result_type_name));
          EXPECT_TRUE(it->second.params.empty());
        }
      }
    } else {
      expected_functions += 1;
      ASSERT_EQ(found, 1u);
      EXPECT_EQ(first->second.kind, INVOKE_FUNC);
      EXPECT_EQ(first->second.names.at(0), member.name);
      EXPECT_EQ(first->second.result, ExpectedType(member.result_type_name));
      CheckParameters(member, first->second, member.params.size(), true);
    }
  }
  EXPECT_EQ(attributes->cFuncs, expected_functions);
  info->ReleaseTypeAttr(attributes);
  info->Release();
}

TEST_F(TypeLibraryTest, EnumerationsHoldTheirMembersWithTheirValues) {
  for (const com::EnumId& id : com::kEnumIds) {
    SCOPED_TRACE(id.name);
    ITypeInfo* info = Info(id.id);
    ASSERT_NE(info, nullptr);
    TYPEATTR* attributes = nullptr;
    ASSERT_HRESULT_SUCCEEDED(info->GetTypeAttr(&attributes));
    EXPECT_EQ(attributes->typekind, TKIND_ENUM);
    std::map<std::string, long> described;
    for (WORD v = 0; v < attributes->cVars; ++v) {
      VARDESC* var = nullptr;
      ASSERT_HRESULT_SUCCEEDED(info->GetVarDesc(v, &var));
      BSTR name = nullptr;
      UINT count = 0;
      info->GetNames(var->memid, &name, 1, &count);
      described[Narrow(name)] = V_I4(var->lpvarValue);
      SysFreeString(name);
      info->ReleaseVarDesc(var);
    }
    std::map<std::string, long> expected;
    for (const EnumConstant& constant : QuorvelEnumConstants()) {
      if (constant.enum_name == id.name) expected[constant.name] = constant.value;
    }
    EXPECT_EQ(described, expected);
    info->ReleaseTypeAttr(attributes);
    info->Release();
  }
}

TEST_F(TypeLibraryTest, ClassNamesTheDispatchInterfaceAndTheEventInterface) {
  ITypeInfo* info = Info(com::kClassId);
  ASSERT_NE(info, nullptr);
  TYPEATTR* attributes = nullptr;
  ASSERT_HRESULT_SUCCEEDED(info->GetTypeAttr(&attributes));
  EXPECT_EQ(attributes->typekind, TKIND_COCLASS);
  EXPECT_TRUE(attributes->wTypeFlags & TYPEFLAG_FCONTROL);
  ASSERT_EQ(attributes->cImplTypes, 2);
  std::map<int, std::string> by_flags;
  for (UINT i = 0; i < 2; ++i) {
    HREFTYPE ref = 0;
    INT flags = 0;
    ITypeInfo* implemented = nullptr;
    ASSERT_HRESULT_SUCCEEDED(info->GetRefTypeOfImplType(i, &ref));
    ASSERT_HRESULT_SUCCEEDED(info->GetImplTypeFlags(i, &flags));
    ASSERT_HRESULT_SUCCEEDED(info->GetRefTypeInfo(ref, &implemented));
    BSTR name = nullptr;
    implemented->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
    by_flags[flags] = Narrow(name);
    SysFreeString(name);
    implemented->Release();
  }
  EXPECT_EQ(by_flags[IMPLTYPEFLAG_FDEFAULT], com::kDispatchName);
  EXPECT_EQ(by_flags[IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE], com::kEventsName);
  info->ReleaseTypeAttr(attributes);
  info->Release();
}

TEST_F(TypeLibraryTest, TheLibraryAndEachTypeNameTheMakerAndTheContactAddress) {
  const std::string expected = std::string("Orvane by Verrilan <") + kContactAddress + ">";
  BSTR help = nullptr;
  ASSERT_HRESULT_SUCCEEDED(library_->GetDocumentation(-1, nullptr, &help, nullptr, nullptr));
  EXPECT_EQ(Narrow(help), expected);
  SysFreeString(help);
  const UINT count = library_->GetTypeInfoCount();
  EXPECT_EQ(count, std::size(com::kEnumIds) + 3);  // the enumerations, both dispinterfaces, the class
  for (UINT i = 0; i < count; ++i) {
    BSTR name = nullptr;
    help = nullptr;
    ASSERT_HRESULT_SUCCEEDED(library_->GetDocumentation(static_cast<INT>(i), &name, &help, nullptr, nullptr));
    EXPECT_EQ(Narrow(help), expected) << Narrow(name);
    SysFreeString(name);
    SysFreeString(help);
  }
}

}  // namespace
}  // namespace orvane
