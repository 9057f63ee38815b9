// The script host as an ActiveX-style container: it owns the controls in
// creation order, names them, records the property changes each control
// reports, and destroys them all in creation order when it goes away.
// One Host per script run; used on one thread.
#pragma once

#include <set>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "orvane/container.h"
#include "orvane/quorvel.h"

namespace quorvel {

// The container side of one control: it records the names of the
// properties the control reports as changed, oldest first.
class ControlSite : public orvane::Container {
 public:
  void PropertyChanged(std::string_view name) override { changed_.emplace_back(name); }
  bool AmbientUserMode() const override { return true; }
  const std::vector<std::string>& changed() const { return changed_; }

 private:
  std::vector<std::string> changed_;
};

class Host {
 public:
  // The name of the control that exists at start and that unqualified
  // members address.
  static constexpr std::string_view kDefaultControl = "Quorvel1";

  Host();  // places Quorvel1
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

 private:
  struct Slot {
    std::string name;
    ControlSite site;  // declared first: outlives the control
    std::unique_ptr<orvane::Quorvel> control;
  };

  std::unique_ptr<Slot> Unbind(std::string_view name);
  Slot* Find(std::string_view name) const;

  std::vector<std::unique_ptr<Slot>> slots_;  // living controls, creation order
  std::set<std::string> object_names_;  // every name bound by Set (lower case)
};

}  // namespace quorvel
