// The stream form of the saved properties.
#include "com/stream_format.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace orvane::com {
namespace {

constexpr uint32_t kVersion = 1;

void Append(std::string& out, const void* data, size_t size) { out.append(static_cast<const char*>(data), size); }

void AppendText(std::string& out, const std::string& text) {
  const uint32_t length = static_cast<uint32_t>(text.size());
  Append(out, &length, 4);
  out += text;
}

void AppendValue(std::string& out, const Variant& value) {
  const uint16_t type = static_cast<uint16_t>(value.type());
  Append(out, &type, 2);
  switch (value.type()) {
    case VarType::kInteger: { const int16_t v = value.integer(); Append(out, &v, 2); break; }
    case VarType::kLong: { const int32_t v = value.long_value(); Append(out, &v, 4); break; }
    case VarType::kDouble: { const double v = value.double_value(); Append(out, &v, 8); break; }
    case VarType::kBoolean: { const int16_t v = value.boolean() ? -1 : 0; Append(out, &v, 2); break; }
    case VarType::kByte: { const uint8_t v = value.byte(); Append(out, &v, 1); break; }
    case VarType::kString: AppendText(out, value.string()); break;
    default: break;  // Empty, Null: the type says all
  }
}

std::string Encode(const MemoryPropertyBag& bag) {
  std::string out;
  Append(out, &kVersion, 4);
  const uint32_t count = static_cast<uint32_t>(bag.entries().size());
  Append(out, &count, 4);
  for (const auto& [name, value] : bag.entries()) {
    AppendText(out, name);
    AppendValue(out, value);
  }
  return out;
}

class Reader {
 public:
  explicit Reader(IStream* stream) : stream_(stream) {}
  bool Bytes(void* data, ULONG size) {
    ULONG read = 0;
    return size == 0 || (SUCCEEDED(stream_->Read(data, size, &read)) && read == size);
  }
  bool Text(std::string& text) {
    uint32_t length = 0;
    if (!Bytes(&length, 4) || length > (1u << 24)) return false;
    text.assign(length, '\0');
    return Bytes(text.data(), length);
  }

 private:
  IStream* stream_;
};

HRESULT ReadValue(Reader& in, Variant& value) {
  uint16_t type = 0;
  if (!in.Bytes(&type, 2)) return STG_E_READFAULT;
  int16_t i16 = 0;
  int32_t i32 = 0;
  double f64 = 0;
  uint8_t u8 = 0;
  std::string text;
  switch (static_cast<VarType>(type)) {
    case VarType::kEmpty: value = Variant(); return S_OK;
    case VarType::kNull: value = Variant::Null(); return S_OK;
    case VarType::kInteger: if (!in.Bytes(&i16, 2)) break; value = Variant::Integer(i16); return S_OK;
    case VarType::kLong: if (!in.Bytes(&i32, 4)) break; value = Variant::Long(i32); return S_OK;
    case VarType::kDouble: if (!in.Bytes(&f64, 8)) break; value = Variant::Double(f64); return S_OK;
    case VarType::kBoolean: if (!in.Bytes(&i16, 2)) break; value = Variant::Boolean(i16 != 0); return S_OK;
    case VarType::kByte: if (!in.Bytes(&u8, 1)) break; value = Variant::Byte(u8); return S_OK;
    case VarType::kString: if (!in.Text(text)) break; value = Variant::String(text); return S_OK;
    default: return E_FAIL;
  }
  return STG_E_READFAULT;
}

}  // namespace

HRESULT SaveToStream(const MemoryPropertyBag& bag, IStream* stream) {
  const std::string bytes = Encode(bag);
  ULONG written = 0;
  const HRESULT status = stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
  if (FAILED(status)) return status;
  return written == bytes.size() ? S_OK : STG_E_WRITEFAULT;
}

HRESULT LoadFromStream(IStream* stream, MemoryPropertyBag& bag) {
  Reader in(stream);
  uint32_t version = 0, count = 0;
  if (!in.Bytes(&version, 4) || !in.Bytes(&count, 4)) return STG_E_READFAULT;
  if (version != kVersion) return E_FAIL;
  for (uint32_t i = 0; i < count; ++i) {
    std::string name;
    Variant value;
    if (!in.Text(name)) return STG_E_READFAULT;
    const HRESULT status = ReadValue(in, value);
    if (FAILED(status)) return status;
    bag.WriteProperty(name, value, Variant());
  }
  return S_OK;
}

ULONG StreamSize(const MemoryPropertyBag& bag) { return static_cast<ULONG>(Encode(bag).size()); }

}  // namespace orvane::com
