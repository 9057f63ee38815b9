// FormBag: a bag file's entries with their lines.
#include "form_bag.h"

#include <cerrno>
#include <fstream>
#include <sstream>

#include "control/property_bag_file.h"
#include "orvane/runtime_errors.h"

namespace quorvel {
namespace {

// The errors of converting a saved value to its property's type.
bool IsConversionError(int32_t number) {
  return number == orvane::kErrTypeMismatch || number == orvane::kErrOverflow ||
         number == orvane::kErrInvalidUseOfNull;
}

}  // namespace

FormBag FormBag::Load(const std::filesystem::path& file) {
  errno = 0;
  std::ifstream in(file, std::ios::binary);
  if (!in) orvane::RaiseFileError(errno ? errno : ENOENT);
  std::ostringstream text;
  text << in.rdbuf();
  FormBag bag;
  bag.file_ = file;
  try {
    bag.entries_ = orvane::ParsePropertyBag(text.str(), &bag.lines_);
  } catch (const orvane::PropertyBagSyntaxError& error) {
    throw FormError(file.string() + ":" + std::to_string(error.line()) + ": " + error.what());
  }
  return bag;
}

orvane::Variant FormBag::ReadProperty(std::string_view name, const orvane::Variant& default_value) {
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (!orvane::SamePropertyName(entries_[i].first, name)) continue;
    last_read_ = static_cast<int>(i);
    return entries_[i].second;
  }
  last_read_ = -1;
  return default_value;
}

void FormBag::WriteProperty(std::string_view name, const orvane::Variant& value, const orvane::Variant&) {
  for (auto& entry : entries_) {
    if (orvane::SamePropertyName(entry.first, name)) {
      entry.second = value;
      return;
    }
  }
  entries_.emplace_back(std::string(name), value);
  lines_.push_back(0);
}

void FormBag::RaiseLoadError(const orvane::Error& error) const {
  if (!IsConversionError(error.number()) || last_read_ < 0 || lines_[static_cast<size_t>(last_read_)] == 0) {
    throw error;
  }
  const size_t at = static_cast<size_t>(last_read_);
  throw FormError(file_.string() + ":" + std::to_string(lines_[at]) + ": property '" + entries_[at].first +
                  "': " + error.description());
}

}  // namespace quorvel
