// A property bag: the container's store of a control's saved properties,
// read and written by name. MemoryPropertyBag keeps the values in memory in
// the order written and saves to and loads from a small text file. A bag
// belongs to its container; one thread.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "orvane/variant.h"

namespace orvane {

class PropertyBag {
 public:
  virtual ~PropertyBag() = default;

  // The value saved under `name` (names ignore ASCII case), exactly as it
  // was saved; `default_value` when the bag holds no such name.
  virtual Variant ReadProperty(std::string_view name, const Variant& default_value) = 0;

  // Saves `value` under `name`, replacing a value of that name. The
  // default is the one a reader will pass for this name.
  virtual void WriteProperty(std::string_view name, const Variant& value, const Variant& default_value) = 0;
};

// A property bag file that cannot be read: the message names the file and
// the line ("form.txt:3: ...").
class PropertyBagFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class MemoryPropertyBag : public PropertyBag {
 public:
  using Entry = std::pair<std::string, Variant>;

  Variant ReadProperty(std::string_view name, const Variant& default_value) override;
  void WriteProperty(std::string_view name, const Variant& value, const Variant& default_value) override;

  // Every saved name with its value, in the order first written.
  const std::vector<Entry>& entries() const { return entries_; }

  // Loads a bag file (format: control/property_bag_file.h). Raises the
  // runtime's file error (53, 70, ...; 75 for a name holding a NUL) when
  // the file cannot be opened, and
  // PropertyBagFileError when its contents are malformed.
  static MemoryPropertyBag LoadFile(const std::filesystem::path& file);

  // Writes the bag to `file`, replacing it. Raises the runtime's file error
  // when it cannot be written (75 for a name holding a NUL), and 13 "Type mismatch" for a value the
  // format cannot hold (an array); the file is then left as it was.
  void SaveFile(const std::filesystem::path& file) const;

 private:
  std::vector<Entry> entries_;
};

}  // namespace orvane
