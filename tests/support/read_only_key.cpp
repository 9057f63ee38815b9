#include "support/read_only_key.h"

#ifndef _WIN32
#include "store/registry_store.h"
#endif

namespace orvane::testing {

#ifdef _WIN32

namespace {

// Replaces the key's access list with one entry: everyone may do `rights`
// on the key itself (not inherited by sub-keys: the Linux mark is per key).
LONG WriteAccessList(HKEY key, DWORD rights) {
  SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
  PSID everyone = nullptr;
  if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone)) {
    return static_cast<LONG>(GetLastError());
  }
  alignas(DWORD) unsigned char acl_bytes[256];
  auto* acl = reinterpret_cast<PACL>(acl_bytes);
  SECURITY_DESCRIPTOR descriptor;
  LONG status = ERROR_SUCCESS;
  if (!InitializeAcl(acl, sizeof acl_bytes, ACL_REVISION) ||
      !AddAccessAllowedAce(acl, ACL_REVISION, rights, everyone) ||
      !InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) ||
      !SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE)) {
    status = static_cast<LONG>(GetLastError());
  } else {
    status = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor);
  }
  FreeSid(everyone);
  return status;
}

}  // namespace

LONG SetKeyReadOnly(HKEY root, const char* path, bool read_only) {
  HKEY key = nullptr;
  // The owner may always read and change the access list.
  if (LONG status = RegOpenKeyExA(root, path, 0, READ_CONTROL | WRITE_DAC, &key)) return status;
  const LONG status = WriteAccessList(key, read_only ? KEY_READ : KEY_ALL_ACCESS);
  RegCloseKey(key);
  return status;
}

#else

LONG SetKeyReadOnly(HKEY root, const char* path, bool read_only) {
  return platform::SetRegistryKeyReadOnly(root, path, read_only);
}

#endif

}  // namespace orvane::testing
