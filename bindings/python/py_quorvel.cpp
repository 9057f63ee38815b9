// orvane.Quorvel (see py_quorvel.h).
#include "py_quorvel.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "orvane/container.h"
#include "orvane/dispatch.h"
#include "orvane/quorvel.h"
#include "py_errors.h"
#include "py_member_docs.h"
#include "py_typed_data.h"
#include "py_typed_members.h"
#include "py_variant.h"

namespace py = pybind11;

namespace orvane::python {
namespace {

// Serialises every call into the component: the registry store and the
// dialogs are process-wide.
std::mutex& ComponentLock() {
  static std::mutex& lock = *new std::mutex();
  return lock;
}

// The container of a control made from Python: it answers the dialog style
// the control was made with.
class PyContainer : public NullContainer {
 public:
  explicit PyContainer(DialogStyle style) : style_(style) {}
  DialogStyle AmbientDialogStyle() const override { return style_; }
  void set_style(DialogStyle style) { style_ = style; }

 private:
  DialogStyle style_;
};

class PyQuorvel {
 public:
  // The About box a new control shows is silent unless `about` (as a
  // control made by name, CreateObject, shows none). A `typed` control
  // takes and gives value data in its typed forms (py_typed_members.h).
  PyQuorvel(DialogStyle dialogs, bool about, bool typed)
      : container_(about ? dialogs : DialogStyle::kSilent), typed_(typed) {
    RunLocked([this] {
      control_ = std::make_unique<Quorvel>(container_);
      control_->InitProperties();
    });
    container_.set_style(dialogs);
  }

  ~PyQuorvel() {
    py::gil_scoped_release unlocked;
    std::lock_guard<std::mutex> guard(ComponentLock());
    control_.reset();
  }

  PyQuorvel(const PyQuorvel&) = delete;
  PyQuorvel& operator=(const PyQuorvel&) = delete;

  // Invokes `member` with `args` (nullptr: omitted), outside the
  // interpreter lock; raises the control's error as its Python exception.
  Variant Invoke(const MemberInfo& member, InvokeKind kind, const std::vector<Variant*>& args) {
    Variant result;
    RunLocked([&] {
      result = orvane::Invoke(*control_, member, kind, args);
      if (typed_) AfterTypedMember(*control_, member);
    });
    return result;
  }

  bool typed() const { return typed_; }

  // The property `member` as Python gives it: for a typed control Value
  // in the typed form of the current ValueType, read with it at once.
  py::object Get(const MemberInfo& member) {
    if (!typed_ || member.name != "Value") return FromVariant(Invoke(member, InvokeKind::kPropertyGet, {}));
    Variant value;
    int32_t type = 0;
    RunLocked([&] {
      value = control_->Value();
      type = control_->ValueType();
    });
    return TypedData(FromVariant(value), type);
  }

  // Assigns the property `member`; a typed control's Value may be given in
  // the typed form of the current ValueType.
  void Put(const MemberInfo& member, const py::object& value) {
    py::object passed = value;
    if (typed_ && member.name == "Value") {
      int32_t type = 0;
      RunLocked([&] { type = control_->ValueType(); });
      passed = TextData(value, type);
    }
    Variant assigned = ToVariant(passed);
    Invoke(member, InvokeKind::kPropertyPut, {&assigned});
  }

 private:
  template <typename Action>
  static void RunLocked(Action action) {
    std::optional<Error> failure;
    {
      py::gil_scoped_release unlocked;
      std::lock_guard<std::mutex> guard(ComponentLock());
      try {
        action();
      } catch (const Error& error) {
        failure.emplace(error);
      }
    }
    if (failure) RaisePythonError(*failure);
  }

  PyContainer container_;
  bool typed_;
  std::unique_ptr<Quorvel> control_;
};

// The Python objects passed for a method's parameters, in parameter order
// (empty handles: not passed), placed by position and by keyword.
std::vector<py::object> PlaceArguments(const MemberInfo& member, const py::args& args, const py::kwargs& kwargs) {
  std::vector<py::object> placed(member.params.size());
  if (args.size() > placed.size()) {
    throw py::type_error(member.name + "() takes at most " + std::to_string(placed.size()) + " arguments (" +
                         std::to_string(args.size()) + " given)");
  }
  for (size_t i = 0; i < args.size(); ++i) placed[i] = args[i];
  for (const auto& [key, value] : kwargs) {
    const std::string name = py::cast<std::string>(key);
    size_t index = 0;
    while (index < member.params.size() && member.params[index].name != name) ++index;
    if (index == member.params.size()) {
      throw py::type_error(member.name + "() got an unexpected keyword argument '" + name + "'");
    }
    if (placed[index]) throw py::type_error(member.name + "() got multiple values for argument '" + name + "'");
    placed[index] = py::reinterpret_borrow<py::object>(value);
  }
  return placed;
}

bool IsByRefBox(const py::object& object) {
  return py::isinstance(object, py::module_::import("orvane").attr("ByRef"));
}

// Hands what the method left in a by-reference parameter (`fresh`, in
// Python's form) to the caller's box, or into the caller's list when the
// method changed it.
void WriteBack(const py::object& passed, const Variant& before, const Variant& after, const py::object& fresh) {
  if (IsByRefBox(passed)) {
    passed.attr("value") = fresh;
  } else if (py::isinstance<py::list>(passed) && after.is_array() && !(after == before)) {
    py::list target = passed.cast<py::list>();
    target.attr("clear")();
    target.attr("extend")(fresh);
  }
}

py::object CallMethod(PyQuorvel& self, const MemberInfo& member, const py::args& args, const py::kwargs& kwargs) {
  const std::vector<py::object> placed = PlaceArguments(member, args, kwargs);
  std::vector<std::optional<Variant>> values(placed.size());
  for (size_t i = 0; i < placed.size(); ++i) {
    if (!placed[i]) continue;
    py::object passed = IsByRefBox(placed[i]) ? py::object(placed[i].attr("value")) : placed[i];
    values[i] = ToVariant(self.typed() ? ControlArgument(member, i, passed) : passed);
  }
  const std::vector<std::optional<Variant>> before = values;
  std::vector<Variant*> pointers;
  for (std::optional<Variant>& value : values) pointers.push_back(value ? &*value : nullptr);
  const Variant result = self.Invoke(member, InvokeKind::kMethod, pointers);
  auto output = [&](size_t index, const Variant& value) {
    return self.typed() ? TypedOutput(member, index, FromVariant(value)) : FromVariant(value);
  };
  for (size_t i = 0; i < placed.size(); ++i) {
    if (placed[i] && member.params[i].by_ref) WriteBack(placed[i], *before[i], *values[i], output(i, *values[i]));
  }
  return output(placed.size(), result);
}

}  // namespace

void DefineQuorvel(py::module_& module) {
  py::class_<PyQuorvel> quorvel(module, "Quorvel",
                                "The registry-editing control. Properties are attributes; methods take the\n"
                                "member table's parameter names as keyword arguments.");
  py::enum_<DialogStyle>(module, "DialogStyle",
                         "How a control shows its About box and message boxes (the keyword `dialogs`\n"
                         "of Quorvel).")
      .value("Batch", DialogStyle::kBatch, "the text on standard error, closed at once (the default)")
      .value("Silent", DialogStyle::kSilent, "nothing shown, closed at once")
      .value("Interactive", DialogStyle::kInteractive, "drawn on the terminal, waiting for a key")
      .value("Auto", DialogStyle::kUnspecified,
             "ORVANE_DIALOGS decides, else interactive only when standard input, output and\n"
             "error are all terminals");
  quorvel.def(py::init<DialogStyle, bool, bool>(), py::kw_only(), py::arg("dialogs") = DialogStyle::kBatch,
              py::arg("about") = false, py::arg("typed") = false,
              "Quorvel(*, dialogs=DialogStyle.Batch, about=False, typed=False)\n\n"
              "A new control. It shows its About box when made only when `about` is true (in\n"
              "the `dialogs` style), so a script's control writes nothing unless asked;\n"
              "`dialogs` is how AboutBox() and message boxes show.\n\n"
              "typed=True gives value data in Python's forms: bytes for BinaryType (and any\n"
              "type but String, ExpandedString, DWord and MultiString), list[str] for\n"
              "MultiStringType, taken as well as the text forms; GetValue sets ValueType to\n"
              "the stored value's type; GetAllKeys and GetAllValues give empty lists, not\n"
              "None. Without it the data is in the control's text forms.");
  for (const MemberInfo& member : QuorvelMembers()) {
    const MemberInfo* info = &member;
    if (member.kind == MemberKind::kProperty) {
      quorvel.def_property(
          member.name.c_str(), [info](PyQuorvel& self) { return self.Get(*info); },
          [info](PyQuorvel& self, const py::object& value) { self.Put(*info, value); }, MemberDoc(member).c_str());
    } else {
      quorvel.def(
          member.name.c_str(),
          [info](PyQuorvel& self, const py::args& args, const py::kwargs& kwargs) {
            return CallMethod(self, *info, args, kwargs);
          },
          MemberDoc(member).c_str());
    }
  }
}

}  // namespace orvane::python
