// A static class factory: creating makes a new QuorvelObject; LockServer
// counts against unloading.
#include "com/class_factory.h"

#include "com/quorvel_object.h"
#include "com/server_state.h"

namespace orvane::com {
namespace {

class Factory : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
    *out = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    HRESULT status = S_OK;
    QuorvelObject* object = QuorvelObject::Create(status);
    if (object == nullptr) return status;
    status = object->QueryInterface(iid, out);
    object->Release();
    return status;
  }

  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock) {
      AddServerReference();
    } else {
      ReleaseServerReference();
    }
    return S_OK;
  }
};

}  // namespace

IClassFactory* QuorvelFactory() {
  static Factory factory;
  return &factory;
}

}  // namespace orvane::com
