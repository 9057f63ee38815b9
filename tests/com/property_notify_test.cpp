// A container told of each property change: a sink connected through
// IConnectionPointContainer counts OnChanged by dispatch identifier and
// may refuse an assignment in OnRequestEdit.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <map>

#include "com/com_client.h"

namespace orvane::testing {
namespace {

constexpr DISPID kGlobalKeyPath = 0x68030006, kHKey = 0x68030005, kSubKeyPath = 0x68030004,
                 kValueName = 0x68030003;

// Lives on the test's stack; reference counts are not used to free it.
class CountingSink : public IPropertyNotifySink {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IPropertyNotifySink) return E_NOINTERFACE;
    *out = static_cast<IPropertyNotifySink*>(this);
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE OnChanged(DISPID id) override {
    ++changed[id];
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnRequestEdit(DISPID id) override {
    ++asked[id];
    return id == refused ? S_FALSE : S_OK;
  }
  std::map<DISPID, int> changed, asked;
  DISPID refused = DISPID_UNKNOWN;
};

using PropertyNotifyTest = ComClientTest;

TEST_F(PropertyNotifyTest, EveryChangeIsToldByIdentifierAndARefusedAssignmentChangesNothing) {
  IConnectionPointContainer* container = nullptr;
  ASSERT_HRESULT_SUCCEEDED(
      control_->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)));
  IConnectionPoint* point = nullptr;
  EXPECT_EQ(container->FindConnectionPoint(IID_IPropertyNotifySink, &point), S_OK);
  container->Release();
  ASSERT_NE(point, nullptr);
  CountingSink sink;
  DWORD cookie = 0;
  ASSERT_HRESULT_SUCCEEDED(point->Advise(&sink, &cookie));

  Var path(L"HKEY_CURRENT_USER\\Software\\OrvaneNotify"), name(L"Item");
  Put(L"GlobalKeyPath", &path);
  Put(L"ValueName", &name);
  EXPECT_EQ(sink.asked, (std::map<DISPID, int>{{kGlobalKeyPath, 1}, {kValueName, 1}}));
  EXPECT_EQ(sink.changed, (std::map<DISPID, int>{{kGlobalKeyPath, 1}, {kHKey, 1}, {kSubKeyPath, 1}, {kValueName, 1}}));

  sink.refused = kValueName;
  Var other(L"Other"), now;
  CallResult outcome;
  EXPECT_EQ(Call(L"ValueName", DISPATCH_PROPERTYPUT, {&other}, nullptr, &outcome), CTL_E_SETNOTPERMITTED);
  Get(L"ValueName", &now);
  EXPECT_EQ(Text(now), L"Item");
  EXPECT_EQ(sink.changed[kValueName], 1);

  ASSERT_HRESULT_SUCCEEDED(point->Unadvise(cookie));
  EXPECT_EQ(point->Unadvise(cookie), CONNECT_E_NOCONNECTION);
  Put(L"GlobalKeyPath", &path);
  EXPECT_EQ(sink.changed[kGlobalKeyPath], 1);
  point->Release();
}

}  // namespace
}  // namespace orvane::testing
