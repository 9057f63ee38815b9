// The script host as an ActiveX-style container: it owns the controls in
// creation order, names them, records the property changes each control
// reports, and destroys them all in creation order when it goes away.
// One Host per script run; used on one thread.
#pragma once

#include <filesystem>
#include <optional>
#include <set>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "form_bag.h"
#include "orvane/container.h"
#include "orvane/property_bag.h"
#include "orvane/quorvel.h"

namespace quorvel {

// The container side of one control: it records the names of the
// properties the control reports as changed, oldest first, reports the
// host's user mode and dialog style, and holds the extent the control is
// shown at.
class ControlSite : public orvane::Container {
 public:
  explicit ControlSite(bool design_mode = false,
                       orvane::DialogStyle dialogs = orvane::DialogStyle::kUnspecified)
      : design_mode_(design_mode), dialogs_(dialogs) {}
  void PropertyChanged(std::string_view name) override { changed_.emplace_back(name); }
  bool AmbientUserMode() const override { return !design_mode_; }
  orvane::DialogStyle AmbientDialogStyle() const override { return dialogs_; }
  void SetExtent(int32_t width, int32_t height) override {
    width_ = width;
    height_ = height;
  }
  const std::vector<std::string>& changed() const { return changed_; }
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }

 private:
  bool design_mode_;
  orvane::DialogStyle dialogs_;
  std::vector<std::string> changed_;
  int32_t width_ = 0;
  int32_t height_ = 0;
};

// How a host places its controls.
struct HostOptions {
  // Saved properties for the first control, which then loads them
  // instead of taking the defaults of a new control.
  std::optional<FormBag> form;
  // True: the host is a form designer (ambient user mode false).
  bool design = false;
  // How the controls show their dialogs (--no-dialogs, --quiet).
  orvane::DialogStyle dialogs = orvane::DialogStyle::kUnspecified;
};

class Host {
 public:
  // The name of the control that exists at start and that unqualified
  // members address.
  static constexpr std::string_view kDefaultControl = "Quorvel1";

  // Places Quorvel1. Raises FormError when it cannot take a value of the
  // form (a conversion error, at the value's line).
  explicit Host(HostOptions options = {});
  ~Host();  // destroys the remaining controls in creation order
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  // Set name = New Quorvel: creates a control (initialise, then initialise
  // properties) and binds the name to it; a control the name held before
  // is destroyed afterwards.
  void CreateControl(std::string_view name);

  // Set name = Nothing: destroys the control the name holds, if any, and
  // leaves the name bound to nothing.
  void ReleaseControl(std::string_view name);

  // True when the name is bound as an object (a control or Nothing).
  bool IsObjectName(std::string_view name) const;

  // The control the name holds. Raises 91 when the name holds Nothing and
  // 424 when it is no object at all.
  orvane::Quorvel& Control(std::string_view name);

  // The site of the control the name holds, or nullptr.
  const ControlSite* Site(std::string_view name) const;

  // Names of the living controls in creation order.
  std::vector<std::string> ControlNames() const;

  // Save [obj,] FILE: writes the control's properties to a bag file.
  void SaveControl(std::string_view name, const std::filesystem::path& file);

  // Resize [obj,] W, H: shows the control at the asked size and tells it
  // so; the control then sets the size it keeps.
  void ResizeControl(std::string_view name, int32_t width, int32_t height);

  // The control's extent as the host shows it: Width, Height.
  int32_t ControlWidth(std::string_view name);
  int32_t ControlHeight(std::string_view name);

 private:
  struct Slot {
    Slot(bool design_mode, orvane::DialogStyle dialogs) : site(design_mode, dialogs) {}
    std::string name;
    ControlSite site;  // declared first: outlives the control
    std::unique_ptr<orvane::Quorvel> control;
  };

  // Places a control: initialise, then saved or default properties, then
  // its first size.
  void PlaceControl(std::string_view name, orvane::PropertyBag* saved);
  std::unique_ptr<Slot> Unbind(std::string_view name);
  Slot* Find(std::string_view name) const;
  Slot& Bound(std::string_view name);

  bool design_mode_;
  orvane::DialogStyle dialogs_;

  std::vector<std::unique_ptr<Slot>> slots_;  // living controls, creation order
  std::set<std::string> object_names_;  // every name bound by Set (lower case)
};

}  // namespace quorvel
