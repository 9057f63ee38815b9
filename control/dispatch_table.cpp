// The dispatch interface _Quorvel as data, in slot order: identifiers,
// parameter names and types as the type library spells them, by-reference
// and optional flags, defaults, results, help contexts and help strings.
#include <utility>

#include "orvane/dispatch.h"

namespace orvane {
namespace {

struct TypeSpelling {
  std::string_view name;
  VarType type;
};

// Type library spellings of the types used below; enumerations are Long.
constexpr TypeSpelling kTypeSpellings[] = {
    {"String", VarType::kString},     {"Long", VarType::kLong},        {"Integer", VarType::kInteger},
    {"Boolean", VarType::kBoolean},   {"Variant", VarType::kVariant},  {"Byte", VarType::kByte},
    {"defHKey", VarType::kLong},      {"defValueType", VarType::kLong}, {"QVOpenMode", VarType::kLong},
    {"QVCountType", VarType::kLong},  {"QVCountMode", VarType::kLong}, {"QVVerifyType", VarType::kLong},
    {"QVFindMode", VarType::kLong},   {"QVSysInfo", VarType::kLong},
};

VarType TypeOf(std::string_view type_name) {
  for (const TypeSpelling& spelling : kTypeSpellings) {
    if (spelling.name == type_name) return spelling.type;
  }
  return VarType::kEmpty;  // no result
}

ParamInfo Ref(std::string name, std::string type_name) {
  ParamInfo param;
  param.name = std::move(name);
  param.type = TypeOf(type_name);
  param.type_name = std::move(type_name);
  return param;
}

ParamInfo Val(std::string name, std::string type_name) {
  ParamInfo param = Ref(std::move(name), std::move(type_name));
  param.by_ref = false;
  return param;
}

// An optional parameter; without a default it receives its type's zero.
ParamInfo Opt(ParamInfo param) {
  param.optional = true;
  return param;
}

ParamInfo Opt(ParamInfo param, Variant default_value) {
  param.optional = true;
  param.has_default = true;
  param.default_value = std::move(default_value);
  return param;
}

MemberInfo Member(int32_t dispid, std::string name, MemberKind kind, std::vector<ParamInfo> params,
                  std::string result_type_name, int32_t help_context, std::string help_string) {
  MemberInfo member;
  member.dispid = dispid;
  member.name = std::move(name);
  member.kind = kind;
  member.params = std::move(params);
  member.result = TypeOf(result_type_name);
  member.result_type_name = std::move(result_type_name);
  member.help_context = help_context;
  member.help_string = std::move(help_string);
  return member;
}

// A property: read without arguments, assigned one value of its type.
MemberInfo Property(int32_t dispid, const std::string& name, const std::string& type_name, int32_t help_context,
                    std::string help_string) {
  return Member(dispid, name, MemberKind::kProperty, {Val("New" + name, type_name)}, type_name, help_context,
                std::move(help_string));
}

MemberInfo Method(int32_t dispid, std::string name, std::vector<ParamInfo> params, std::string result_type_name,
                  int32_t help_context, std::string help_string) {
  return Member(dispid, std::move(name), MemberKind::kMethod, std::move(params), std::move(result_type_name),
                help_context, std::move(help_string));
}

// The parameters Find and Replace share after their strings.
std::vector<ParamInfo> SearchParams(std::vector<ParamInfo> strings) {
  std::vector<ParamInfo> params = std::move(strings);
  params.push_back(Ref("FindMode", "QVFindMode"));
  params.push_back(Ref("FindKeyPath", "Boolean"));
  params.push_back(Ref("FindValueName", "Boolean"));
  params.push_back(Ref("FindValue", "Boolean"));
  params.push_back(Opt(Ref("Reserved", "Variant"), Variant::Integer(0)));
  params.push_back(Opt(Ref("AllRegistry", "Boolean"), Variant::Boolean(false)));
  params.push_back(Opt(Ref("ProgressBarHWnd", "Long")));
  return params;
}

std::vector<MemberInfo> PropertyMembers() {
  return {
      Method(-552, "AboutBox", {}, "", 100, "Shows the About Box of Orvane."),
      Property(0x68030006, "GlobalKeyPath", "String", 230, "Sets a string with the default root key and sub key path."),
      Property(0x68030005, "hKey", "defHKey", 240, "Sets the default root key."),
      Property(0x68030004, "SubKeyPath", "String", 340, "Sets the default sub key path."),
      Property(0x68030003, "ValueName", "String", 390, "Sets the name of the value."),
      Property(0x68030002, "ValueType", "defValueType", 400, "Sets the type of the value."),
      Property(0x68030001, "Value", "Variant", 380, "Returns or sets the value."),
      Property(0x68030000, "UndoEnabled", "Boolean", 370, "Returns or sets if the Undo method is enabled."),
  };
}

std::vector<MemberInfo> ValueAndKeyMembers() {
  const Variant open_and_create = Variant::Long(0);
  return {
      Method(0x6003000e, "SetValue", {Opt(Ref("SetMode", "QVOpenMode"), open_and_create)}, "", 330,
             "Writes the default value."),
      Method(0x6003000f, "GetValue", {}, "", 220, "Reads the default value."),
      Method(0x60030010, "DeleteValue", {}, "", 160, "Delete the default value."),
      Method(0x60030011, "SetAllValues",
             {Ref("ValueArray", "Variant"), Opt(Ref("SetMode", "QVOpenMode"), open_and_create)}, "", 310,
             "Writes an array of values."),
      Method(0x60030012, "GetAllValues", {}, "Variant", 210, "Returns the values of the default registry key."),
      Method(0x60030013, "SetKey", {}, "", 320, "Writes the default key."),
      Method(0x60030014, "DeleteKey", {}, "", 150, "Delete the default key and all its descendents."),
      Method(0x60030015, "SetAllKeys", {Ref("KeyArray", "Variant")}, "", 300, "Writes an array of keys."),
      Method(0x60030016, "GetAllKeys", {}, "Variant", 200, "Returns the subkeys of the default registry key."),
      Method(0x60030017, "ForceWriting", {}, "", 190,
             "Writes all the attributes of the default root key into the registry."),
      Method(0x60030018, "Count",
             {Ref("CountType", "QVCountType"), Opt(Ref("CountMode", "QVCountMode"), Variant::Long(0))}, "Long", 140,
             "Determines how many subkeys or values are into the default key."),
      Method(0x60030019, "VerifyExistence", {Ref("VerifyType", "QVVerifyType")}, "Boolean", 410,
             "Verify the existence of the default key or value."),
  };
}

std::vector<MemberInfo> SearchUndoAndFileMembers() {
  return {
      Method(0x6003001a, "Find", SearchParams({Ref("StringToFind", "String")}), "Variant", 180,
             "Returns a variant containig the result of a search."),
      Method(0x6003001b, "Replace", SearchParams({Ref("StringToFind", "String"), Ref("ReplaceWith", "String")}),
             "Long", 290, "Replace all items found with a string."),
      Method(0x6003001c, "Undo", {Opt(Ref("UndoSteps", "Integer"), Variant::Integer(1))}, "", 360,
             "Undo last actions."),
      Method(0x6003001d, "LastAction", {}, "Byte", 0, ""),
      Method(0x6003001e, "SystemInfo", {Val("InfoType", "QVSysInfo")}, "String", 350,
             "Returns the system information you need."),
      Method(0x6003001f, "Import", {Ref("PathName", "String")}, "", 170,
             "Import part of the registry from a text file."),
      Method(0x60030020, "Export",
             {Ref("PathName", "String"), Opt(Ref("AllRegistry", "Boolean"), Variant::Boolean(false)),
              Opt(Ref("Comment", "String"))},
             "", 170, "Export  part of the registry in a text file."),
  };
}

std::vector<MemberInfo> TransferMembers() {
  return {
      Method(0x60030021, "CopyValue",
             {Ref("NewhKey", "defHKey"), Ref("NewKeyPath", "String"), Ref("NewValueName", "String")}, "", 130,
             "Copy a value to a declared position."),
      Method(0x60030022, "MoveValue",
             {Ref("NewhKey", "defHKey"), Ref("NewKeyPath", "String"), Ref("NewValueName", "String")}, "", 260,
             "Move a value to a declared position."),
      Method(0x60030023, "RenameValue", {Ref("NewValueName", "String")}, "", 280, "Rename a value."),
      Method(0x60030024, "CopyKey", {Ref("NewhKey", "defHKey"), Ref("NewKeyPath", "String")}, "", 120,
             "Copy a key to a declared position."),
      Method(0x60030025, "MoveKey", {Ref("NewhKey", "defHKey"), Ref("NewKeyPath", "String")}, "", 250,
             "Move a key to a declared position."),
      Method(0x60030026, "RenameKey", {Ref("NewKeyPath", "String")}, "", 280, "Rename a key."),
      Method(0x60030027, "Backup", {}, "", 110, "Backup the entire registry."),
      Method(0x60030028, "Restore", {}, "", 110, "Restore the entire registry."),
  };
}

std::vector<MemberInfo> ExtensionMembers() {
  const Variant no = Variant::Boolean(false);
  return {
      Method(0x60030029, "RegisterExtension",
             {Ref("Extension", "String"), Ref("Description", "String"), Ref("DefaultIcon", "String"),
              Opt(Ref("Overwrite", "Boolean"), no)},
             "", 0, ""),
      Method(0x6003002a, "UnregisterExtension", {Ref("Extension", "String")}, "", 0, ""),
      Method(0x6003002b, "AddExtCommand",
             {Ref("Extension", "String"), Ref("CommandName", "String"), Ref("CommandDescription", "String"),
              Ref("Command", "String"), Opt(Ref("Predefined", "Boolean"), no), Opt(Ref("Overwrite", "Boolean"), no)},
             "", 0, ""),
      Method(0x6003002c, "DelExtCommand", {Ref("Extension", "String"), Ref("CommandName", "String")}, "", 0, ""),
  };
}

std::vector<MemberInfo> BuildMembers() {
  std::vector<MemberInfo> members;
  for (auto part : {PropertyMembers, ValueAndKeyMembers, SearchUndoAndFileMembers, TransferMembers,
                    ExtensionMembers}) {
    for (MemberInfo& member : part()) members.push_back(std::move(member));
  }
  return members;
}

}  // namespace

const std::vector<MemberInfo>& QuorvelMembers() {
  static const std::vector<MemberInfo> members = BuildMembers();
  return members;
}

}  // namespace orvane
