// The container events of persistence: a new control (InitNew), saved
// properties read and written through a property bag or a stream.
#include "com/bag_adapter.h"
#include "com/com_guid.h"
#include "com/guarded.h"
#include "com/stream_format.h"

namespace orvane::com {

HRESULT QuorvelObject::GetClassID(CLSID* clsid) {
  if (clsid == nullptr) return E_POINTER;
  *clsid = ClassGuid();
  return S_OK;
}

HRESULT QuorvelObject::InitNew() {
  return Guarded([this](Quorvel& control) {
    control.InitProperties();
    dirty_ = false;
    return S_OK;
  });
}

HRESULT QuorvelObject::Load(IPropertyBag* bag, IErrorLog* log) {
  if (bag == nullptr) return E_POINTER;
  return Guarded([&](Quorvel& control) {
    BagAdapter adapter(bag, log);
    control.ReadProperties(adapter);
    dirty_ = false;
    return S_OK;
  });
}

HRESULT QuorvelObject::Save(IPropertyBag* bag, BOOL clear_dirty, BOOL) {
  if (bag == nullptr) return E_POINTER;
  return Guarded([&](Quorvel& control) {
    BagAdapter adapter(bag, nullptr);
    control.WriteProperties(adapter);
    if (clear_dirty) dirty_ = false;
    return S_OK;
  });
}

HRESULT QuorvelObject::IsDirty() { return dirty_ ? S_OK : S_FALSE; }

HRESULT QuorvelObject::Load(LPSTREAM stream) {
  if (stream == nullptr) return E_POINTER;
  return Guarded([&](Quorvel& control) {
    MemoryPropertyBag bag;
    const HRESULT status = LoadFromStream(stream, bag);
    if (FAILED(status)) return status;
    control.ReadProperties(bag);
    dirty_ = false;
    return S_OK;
  });
}

HRESULT QuorvelObject::Save(LPSTREAM stream, BOOL clear_dirty) {
  if (stream == nullptr) return E_POINTER;
  return Guarded([&](Quorvel& control) {
    MemoryPropertyBag bag;
    control.WriteProperties(bag);
    const HRESULT status = SaveToStream(bag, stream);
    if (SUCCEEDED(status) && clear_dirty) dirty_ = false;
    return status;
  });
}

HRESULT QuorvelObject::GetSizeMax(ULARGE_INTEGER* size) {
  if (size == nullptr) return E_POINTER;
  return Guarded([&](Quorvel& control) {
    MemoryPropertyBag bag;
    control.WriteProperties(bag);
    size->QuadPart = StreamSize(bag);
    return S_OK;
  });
}

}  // namespace orvane::com
