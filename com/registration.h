// Registration of the server, its class, its ProgIDs and its type library,
// for every user (HKEY_LOCAL_MACHINE\Software\Classes, administrators) or
// for the current user only (HKEY_CURRENT_USER\Software\Classes).
// Unregistration deletes exactly the keys registration creates: each is
// named by one of our fixed identifiers or ProgIDs.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace orvane::com {

enum class RegistrationScope { kMachine, kUser };

// Writes every key; S_OK, or the failure as an HRESULT (access denied for
// a user without administrator rights in the machine scope). A failure
// part way removes what was written.
HRESULT RegisterServer(RegistrationScope scope);

// Deletes every key of ours in the scope; keys already gone are no error.
HRESULT UnregisterServer(RegistrationScope scope);

// The keys registration creates below the scope's classes root, each the
// top of a tree we own ("CLSID\{...}", "RegistryEditor.Quorvel", ...).
std::vector<std::string> OwnedClassKeys();

}  // namespace orvane::com
