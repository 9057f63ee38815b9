// The fixed identifiers of the COM server: the type library, the class, the
// two dispatch interfaces and the enumerations. Chosen once; never change
// them, or every registered client loses the control. Plain text, so the
// IDL generator (a host program) and the server share the same constants.
#pragma once

#include <string>

namespace orvane::com {

inline constexpr const char* kLibraryName = "RegistryEditor";
inline constexpr const char* kLibraryId = "AB3BAD6D-3C1B-401D-A649-DAFE9D9988A3";
inline constexpr int kLibraryMajor = 1;
inline constexpr int kLibraryMinor = 0;

inline constexpr const char* kClassName = "Quorvel";
inline constexpr const char* kClassId = "D6DA5906-8F9F-40F5-8D2C-9C638E5A23C1";
inline constexpr const char* kDispatchName = "_Quorvel";
inline constexpr const char* kDispatchId = "B9D0B53C-FF93-41F2-B3AB-A356657FA952";
inline constexpr const char* kEventsName = "__Quorvel";
inline constexpr const char* kEventsId = "23A55B02-2B8B-4D0B-8A99-FFC7ED8A3C5A";

inline constexpr const char* kProgId = "RegistryEditor.Quorvel";
inline constexpr const char* kVersionedProgId = "RegistryEditor.Quorvel.1";

struct EnumId {
  const char* name;
  const char* id;
};

// The enumerations in the order the type library declares them.
inline constexpr EnumId kEnumIds[] = {
    {"defHKey", "AA8DC364-1DDA-4804-BF79-1F5B1993564B"},
    {"defValueType", "8B40120F-9FC2-43AB-887F-8C7E28013382"},
    {"QVFindMode", "AC7BE021-BF9B-4604-90BF-37E188D3464C"},
    {"QVOpenMode", "E974B3E8-AD69-4796-8EAC-E1B650574482"},
    {"QVCountMode", "D82BC1FD-4811-4EE4-A161-0AC6DA1DB02C"},
    {"QVCountType", "FDB64DFB-3196-4083-A0A2-A195EC432D8A"},
    {"QVVerifyType", "D819FBC1-90D4-45F4-AB3B-4A6C6218FB96"},
    {"QVSysInfo", "B8E31E70-AD35-4B5D-87AC-2595194A3CAC"},
};

// "{" + id + "}", as the registry and class look-ups spell an identifier.
inline std::string BracedId(const char* id) { return std::string("{") + id + "}"; }

}  // namespace orvane::com
