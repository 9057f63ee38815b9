#include "host.h"

#include <algorithm>

#include "orvane/runtime_errors.h"
#include "names.h"

namespace quorvel {

Host::Host(HostOptions options) : design_mode_(options.design), dialogs_(options.dialogs) {
  if (!options.form) {
    PlaceControl(kDefaultControl, nullptr);
    return;
  }
  try {
    PlaceControl(kDefaultControl, &*options.form);
  } catch (const orvane::Error& error) {
    options.form->RaiseLoadError(error);
  }
}

Host::~Host() {
  for (auto& slot : slots_) slot->control.reset();
}

void Host::CreateControl(std::string_view name) { PlaceControl(name, nullptr); }

void Host::PlaceControl(std::string_view name, orvane::PropertyBag* saved) {
  auto slot = std::make_unique<Slot>(design_mode_, dialogs_);
  slot->name = std::string(name);
  slot->control = std::make_unique<orvane::Quorvel>(slot->site);
  if (saved) {
    slot->control->ReadProperties(*saved);
  } else {
    slot->control->InitProperties();
  }
  slot->control->Resize();
  std::unique_ptr<Slot> old = Unbind(name);
  slots_.push_back(std::move(slot));
  object_names_.insert(NameKey(name));
  old.reset();  // the previous control terminates after the new one exists
}

void Host::ReleaseControl(std::string_view name) {
  std::unique_ptr<Slot> old = Unbind(name);
  object_names_.insert(NameKey(name));
  old.reset();
}

bool Host::IsObjectName(std::string_view name) const { return object_names_.count(NameKey(name)) != 0; }

orvane::Quorvel& Host::Control(std::string_view name) { return *Bound(name).control; }

Host::Slot& Host::Bound(std::string_view name) {
  if (Slot* slot = Find(name)) return *slot;
  orvane::RaiseRuntimeError(IsObjectName(name) ? orvane::kErrObjectNotSet : orvane::kErrObjectRequired);
}

void Host::SaveControl(std::string_view name, const std::filesystem::path& file) {
  orvane::MemoryPropertyBag bag;
  Control(name).WriteProperties(bag);
  bag.SaveFile(file);
}

void Host::ResizeControl(std::string_view name, int32_t width, int32_t height) {
  Slot& slot = Bound(name);
  slot.site.SetExtent(width, height);
  slot.control->Resize();
}

int32_t Host::ControlWidth(std::string_view name) { return Bound(name).site.width(); }

int32_t Host::ControlHeight(std::string_view name) { return Bound(name).site.height(); }

const ControlSite* Host::Site(std::string_view name) const {
  Slot* slot = Find(name);
  return slot ? &slot->site : nullptr;
}

std::vector<std::string> Host::ControlNames() const {
  std::vector<std::string> names;
  for (const auto& slot : slots_) names.push_back(slot->name);
  return names;
}

std::unique_ptr<Host::Slot> Host::Unbind(std::string_view name) {
  auto it = std::find_if(slots_.begin(), slots_.end(), [&](const auto& slot) { return SameName(slot->name, name); });
  if (it == slots_.end()) return nullptr;
  std::unique_ptr<Slot> slot = std::move(*it);
  slots_.erase(it);
  return slot;
}

Host::Slot* Host::Find(std::string_view name) const {
  for (const auto& slot : slots_) {
    if (SameName(slot->name, name)) return slot.get();
  }
  return nullptr;
}

}  // namespace quorvel
