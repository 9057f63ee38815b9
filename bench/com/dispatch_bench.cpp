// The cost of a late-bound property get (hKey) through the COM server's
// IDispatch::Invoke, against the same read made directly in C++ and through
// the dispatch table's own Invoke, all in one run. The server is loaded
// from beside this program without registration. Prints nanoseconds per
// call and what the COM layer adds.
#include <windows.h>
#include <oleauto.h>

#include <cstdio>
#include <functional>

#include "com/com_guid.h"
#include "orvane/dispatch.h"
#include "orvane/quorvel.h"

namespace {

constexpr int kCalls = 200000;
constexpr int kRounds = 5;

// The best of kRounds runs of kCalls calls, in nanoseconds per call.
double NanosecondsPerCall(const std::function<void()>& call) {
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  double best = 1e300;
  for (int round = 0; round < kRounds; ++round) {
    QueryPerformanceCounter(&start);
    for (int i = 0; i < kCalls; ++i) call();
    QueryPerformanceCounter(&end);
    const double ns = 1e9 * static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart / kCalls;
    if (ns < best) best = ns;
  }
  return best;
}

IDispatch* LoadControl() {
  HMODULE server = LoadLibraryA("Orvanex.ocx");
  if (server == nullptr) return nullptr;
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  auto get = reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(GetProcAddress(server, "DllGetClassObject")));
  IClassFactory* factory = nullptr;
  if (get == nullptr || FAILED(get(orvane::com::ClassGuid(), IID_IClassFactory, reinterpret_cast<void**>(&factory)))) {
    return nullptr;
  }
  IDispatch* control = nullptr;
  factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&control));
  factory->Release();
  return control;
}

}  // namespace

int main() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IDispatch* control = LoadControl();
  if (control == nullptr) {
    std::fprintf(stderr, "cannot load Orvanex.ocx from beside this program\n");
    return 1;
  }
  orvane::NullContainer container;
  orvane::Quorvel direct(container);
  volatile int32_t sink = 0;
  const double direct_ns = NanosecondsPerCall([&] { sink = direct.hKey(); });

  const orvane::MemberInfo* member = orvane::FindMember("hKey");
  const double table_ns = NanosecondsPerCall([&] {
    sink = orvane::Invoke(direct, *member, orvane::InvokeKind::kPropertyGet, {}).long_value();
  });

  const DISPID id = member->dispid;
  DISPPARAMS none{};
  VARIANT result;
  const double com_ns = NanosecondsPerCall([&] {
    VariantInit(&result);
    control->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr);
    sink = result.lVal;
  });
  control->Release();
  (void)sink;

  std::printf("hKey get, nanoseconds per call (best of %d x %d calls)\n", kRounds, kCalls);
  std::printf("  direct C++                 %8.1f\n", direct_ns);
  std::printf("  dispatch table Invoke      %8.1f\n", table_ns);
  std::printf("  IDispatch::Invoke (COM)    %8.1f\n", com_ns);
  std::printf("  added by the dispatch layer: %.1f ns (limit 2000 ns)\n", com_ns - direct_ns);
  return 0;
}
