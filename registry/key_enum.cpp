// ReadSubKeyNames and ValueEnumerator.
#include "registry/key_enum.h"

#include <algorithm>

namespace orvane {
namespace {

// How many times a call is repeated with larger buffers before its
// status is given up as the answer; each repeat follows a change of the key.
constexpr int kResizeAttempts = 8;

struct LongestItems {
  DWORD sub_key_name = 0;
  DWORD value_name = 0;
  DWORD value_data = 0;
};

LONG QueryLongest(HKEY key, LongestItems* longest) {
  return RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, &longest->sub_key_name, nullptr, nullptr,
                          &longest->value_name, &longest->value_data, nullptr, nullptr);
}

}  // namespace

LONG ReadSubKeyNames(HKEY key, std::vector<std::string>* names) {
  LongestItems longest;
  if (LONG status = QueryLongest(key, &longest)) return status;
  std::string buffer(size_t{longest.sub_key_name} + 1, '\0');
  int resizes = 0;
  for (DWORD index = 0;;) {
    DWORD length = static_cast<DWORD>(buffer.size());
    const LONG status = RegEnumKeyExA(key, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) return ERROR_SUCCESS;
    if (status == ERROR_MORE_DATA && resizes++ < kResizeAttempts) {
      if (LONG failed = QueryLongest(key, &longest)) return failed;
      buffer.resize(std::max<size_t>(buffer.size() * 2, size_t{longest.sub_key_name} + 1));
      continue;
    }
    if (status != ERROR_SUCCESS) return status;
    names->emplace_back(buffer.data(), length);
    ++index;
  }
}

LONG ValueEnumerator::SizeBuffers() {
  LongestItems longest;
  if (LONG status = QueryLongest(key_, &longest)) return status;
  if (name_buffer_.size() <= longest.value_name) name_buffer_.resize(size_t{longest.value_name} + 1);
  if (data_buffer_.size() < longest.value_data) data_buffer_.resize(longest.value_data);
  sized_ = true;
  return ERROR_SUCCESS;
}

LONG ValueEnumerator::Read(DWORD index, EnumeratedValue* value) {
  if (!sized_) {
    if (LONG status = SizeBuffers()) return status;
  }
  for (int attempt = 0;; ++attempt) {
    // An empty buffer would pass a null pointer, which asks for no data.
    if (data_buffer_.empty()) data_buffer_.resize(1);
    DWORD name_length = static_cast<DWORD>(name_buffer_.size());
    DWORD size = static_cast<DWORD>(data_buffer_.size());
    DWORD type = 0;
    const LONG status = RegEnumValueA(key_, index, name_buffer_.data(), &name_length, nullptr, &type,
                                      reinterpret_cast<BYTE*>(data_buffer_.data()), &size);
    if (status == ERROR_MORE_DATA && attempt < kResizeAttempts) {
      if (LONG failed = SizeBuffers()) return failed;
      // The longest-name field may lag a concurrent change: grow anyway.
      name_buffer_.resize(name_buffer_.size() * 2);
      if (data_buffer_.size() < size) data_buffer_.resize(size);
      continue;
    }
    if (status != ERROR_SUCCESS) return status;
    value->name.assign(name_buffer_.data(), name_length);
    value->type = type;
    value->data.assign(data_buffer_.data(), size);
    return ERROR_SUCCESS;
  }
}

}  // namespace orvane
