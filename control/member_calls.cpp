// Binds each dispatch identifier to the control's C++ member. A method's
// arguments arrive as Variants of the parameters' types; each is bound to
// a C++ variable of that type for the call and written back afterwards,
// so a method that changes a by-reference parameter changes the Variant.
#include "control/member_calls.h"

#include <string>
#include <tuple>
#include <type_traits>
#include <utility>

namespace orvane {
namespace {

using Args = std::vector<Variant>;

// A parameter's C++ value read from its Variant (already of its type).
template <typename T>
T ReadAs(const Variant& v) {
  if constexpr (std::is_same_v<T, int32_t>) {
    return v.long_value();
  } else if constexpr (std::is_same_v<T, int16_t>) {
    return v.integer();
  } else if constexpr (std::is_same_v<T, bool>) {
    return v.boolean();
  } else {
    static_assert(std::is_same_v<T, std::string>);
    return v.string();
  }
}

// One C++ argument bound to its Variant for the length of a call. By value
// or const&: a copy of the value, nothing written back.
template <typename T>
class Bound {
 public:
  explicit Bound(Variant& slot) : value_(ReadAs<T>(slot)) {}
  const T& get() const { return value_; }

 private:
  T value_;
};

template <typename T>
class Bound<const T&> : public Bound<T> {
 public:
  using Bound<T>::Bound;
};

// A const Variant parameter reads the slot itself.
template <>
class Bound<const Variant&> {
 public:
  explicit Bound(Variant& slot) : slot_(slot) {}
  const Variant& get() const { return slot_; }

 private:
  const Variant& slot_;
};

// By reference: the member's value goes back into the slot afterwards.
template <typename T>
class WrittenBack {
 public:
  explicit WrittenBack(Variant& slot) : slot_(slot), value_(ReadAs<T>(slot)) {}
  ~WrittenBack() { slot_ = Make(value_); }
  WrittenBack(const WrittenBack&) = delete;
  WrittenBack& operator=(const WrittenBack&) = delete;
  T& get() { return value_; }

 private:
  static Variant Make(const T& value) {
    if constexpr (std::is_same_v<T, int32_t>) {
      return Variant::Long(value);
    } else if constexpr (std::is_same_v<T, int16_t>) {
      return Variant::Integer(value);
    } else if constexpr (std::is_same_v<T, bool>) {
      return Variant::Boolean(value);
    } else {
      return Variant::String(value);
    }
  }

  Variant& slot_;
  T value_;
};

template <typename T>
class Bound<T&> : public WrittenBack<T> {
 public:
  using WrittenBack<T>::WrittenBack;
};

// A Variant parameter is the slot itself.
template <>
class Bound<Variant&> {
 public:
  explicit Bound(Variant& slot) : slot_(slot) {}
  Variant& get() { return slot_; }

 private:
  Variant& slot_;
};

Variant ToResult(int32_t value) { return Variant::Long(value); }
Variant ToResult(bool value) { return Variant::Boolean(value); }
Variant ToResult(uint8_t value) { return Variant::Byte(value); }
Variant ToResult(std::string value) { return Variant::String(std::move(value)); }
Variant ToResult(Variant value) { return value; }

template <typename R, typename... P, size_t... I>
Variant CallBound(Quorvel& control, R (Quorvel::*method)(P...), Args& args, std::index_sequence<I...>) {
  std::tuple<Bound<P>...> bound(args[I]...);
  if constexpr (std::is_void_v<R>) {
    (control.*method)(std::get<I>(bound).get()...);
    return Variant();
  } else {
    return ToResult((control.*method)(std::get<I>(bound).get()...));
  }
}

template <auto Method>
Variant CallMethod(Quorvel& control, Args& args) {
  return [&]<typename R, typename... P>(R (Quorvel::*method)(P...)) {
    return CallBound(control, method, args, std::index_sequence_for<P...>{});
  }(Method);
}

constexpr MemberCalls MethodCalls(int32_t dispid, Variant (*call)(Quorvel&, Args&)) {
  return {dispid, nullptr, nullptr, call};
}

const MemberCalls kPropertyCalls[] = {
    {0x68030006, [](Quorvel& c) { return Variant::String(c.GlobalKeyPath()); },
     [](Quorvel& c, const Variant& v) { c.GlobalKeyPath(v.string()); }, nullptr},
    {0x68030005, [](Quorvel& c) { return Variant::Long(c.hKey()); },
     [](Quorvel& c, const Variant& v) { c.hKey(v.long_value()); }, nullptr},
    {0x68030004, [](Quorvel& c) { return Variant::String(c.SubKeyPath()); },
     [](Quorvel& c, const Variant& v) { c.SubKeyPath(v.string()); }, nullptr},
    {0x68030003, [](Quorvel& c) { return Variant::String(c.ValueName()); },
     [](Quorvel& c, const Variant& v) { c.ValueName(v.string()); }, nullptr},
    {0x68030002, [](Quorvel& c) { return Variant::Long(c.ValueType()); },
     [](Quorvel& c, const Variant& v) { c.ValueType(v.long_value()); }, nullptr},
    {0x68030001, [](Quorvel& c) { return c.Value(); }, [](Quorvel& c, const Variant& v) { c.Value(v); }, nullptr},
    {0x68030000, [](Quorvel& c) { return Variant::Boolean(c.UndoEnabled()); },
     [](Quorvel& c, const Variant& v) { c.UndoEnabled(v.boolean()); }, nullptr},
};

const MemberCalls kMethodCalls[] = {
    MethodCalls(-552, CallMethod<&Quorvel::AboutBox>),
    MethodCalls(0x6003000e, CallMethod<&Quorvel::SetValue>),
    MethodCalls(0x6003000f, CallMethod<&Quorvel::GetValue>),
    MethodCalls(0x60030010, CallMethod<&Quorvel::DeleteValue>),
    MethodCalls(0x60030011, CallMethod<&Quorvel::SetAllValues>),
    MethodCalls(0x60030012, CallMethod<&Quorvel::GetAllValues>),
    MethodCalls(0x60030013, CallMethod<&Quorvel::SetKey>),
    MethodCalls(0x60030014, CallMethod<&Quorvel::DeleteKey>),
    MethodCalls(0x60030015, CallMethod<&Quorvel::SetAllKeys>),
    MethodCalls(0x60030016, CallMethod<&Quorvel::GetAllKeys>),
    MethodCalls(0x60030017, CallMethod<&Quorvel::ForceWriting>),
    MethodCalls(0x60030018, CallMethod<&Quorvel::Count>),
    MethodCalls(0x60030019, CallMethod<&Quorvel::VerifyExistence>),
    MethodCalls(0x6003001a, CallMethod<&Quorvel::Find>),
    MethodCalls(0x6003001b, CallMethod<&Quorvel::Replace>),
    MethodCalls(0x6003001c, CallMethod<&Quorvel::Undo>),
    MethodCalls(0x6003001d, CallMethod<&Quorvel::LastAction>),
    MethodCalls(0x6003001e, CallMethod<&Quorvel::SystemInfo>),
    MethodCalls(0x6003001f, CallMethod<&Quorvel::Import>),
    MethodCalls(0x60030020, CallMethod<&Quorvel::Export>),
    MethodCalls(0x60030021, CallMethod<&Quorvel::CopyValue>),
    MethodCalls(0x60030022, CallMethod<&Quorvel::MoveValue>),
    MethodCalls(0x60030023, CallMethod<&Quorvel::RenameValue>),
    MethodCalls(0x60030024, CallMethod<&Quorvel::CopyKey>),
    MethodCalls(0x60030025, CallMethod<&Quorvel::MoveKey>),
    MethodCalls(0x60030026, CallMethod<&Quorvel::RenameKey>),
    MethodCalls(0x60030027, CallMethod<&Quorvel::Backup>),
    MethodCalls(0x60030028, CallMethod<&Quorvel::Restore>),
    MethodCalls(0x60030029, CallMethod<&Quorvel::RegisterExtension>),
    MethodCalls(0x6003002a, CallMethod<&Quorvel::UnregisterExtension>),
    MethodCalls(0x6003002b, CallMethod<&Quorvel::AddExtCommand>),
    MethodCalls(0x6003002c, CallMethod<&Quorvel::DelExtCommand>),
};

}  // namespace

const MemberCalls* FindMemberCalls(int32_t dispid) {
  for (const MemberCalls& calls : kPropertyCalls) {
    if (calls.dispid == dispid) return &calls;
  }
  for (const MemberCalls& calls : kMethodCalls) {
    if (calls.dispid == dispid) return &calls;
  }
  return nullptr;
}

}  // namespace orvane
