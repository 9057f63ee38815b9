// The saved properties --form gives the first control: a property bag
// file's entries with the line each came from. Reading a property
// remembers where its value stood, so that a value the control cannot take
// is reported at its line. Owned by the host's options; one thread.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "orvane/error.h"
#include "orvane/property_bag.h"

namespace quorvel {

// A form file the first control cannot load: "FILE:LINE: MESSAGE".
class FormError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class FormBag : public orvane::PropertyBag {
 public:
  // Loads `file` (format: control/property_bag_file.h). Raises the
  // runtime's file error when it cannot be read and FormError when its
  // contents are malformed.
  static FormBag Load(const std::filesystem::path& file);

  // The saved value (names ignore ASCII case), or `default_value`.
  orvane::Variant ReadProperty(std::string_view name, const orvane::Variant& default_value) override;
  // Replaces or adds the value, in memory only.
  void WriteProperty(std::string_view name, const orvane::Variant& value, const orvane::Variant&) override;

  // FormError naming the file line of the value read last when `error` is
  // a conversion error (13, 6, 94) and that value came from the file;
  // otherwise `error` itself. Never returns.
  [[noreturn]] void RaiseLoadError(const orvane::Error& error) const;

 private:
  std::filesystem::path file_;
  std::vector<std::pair<std::string, orvane::Variant>> entries_;
  std::vector<int> lines_;  // the file line of each entry; 0 for one written later
  int last_read_ = -1;      // index of the entry read last, -1 when a default was given
};

}  // namespace quorvel
