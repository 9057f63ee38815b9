// libFuzzer target for the registration-file reader. Any input must parse
// without a crash, a hang or a leak; and every key and value the reader
// accepts, written back by the REGEDIT4 writer, must read back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tools/regedit/reg_parser.h"
#include "tools/regedit/reg_writer.h"
#include "tools/regedit/root_keys.h"

namespace {

using orvane::regedit::OpKind;
using orvane::regedit::RegFile;
using orvane::regedit::RegOp;

std::string RootName(HKEY root) {
  for (const orvane::regedit::RootKey& key : orvane::regedit::RootKeys()) {
    if (key.handle == root) return std::string(key.name);
  }
  std::abort();  // the reader only emits known roots
}

void CheckKeyRoundTrip(const RegOp& op) {
  const std::string section = RootName(op.root) + (op.path.empty() ? "" : "\\" + op.path);
  const RegFile again = orvane::regedit::ParseRegFile("REGEDIT4\r\n[" + section + "]\r\n");
  if (again.ops.size() != 1 || again.ops[0].root != op.root || again.ops[0].path != op.path) std::abort();
}

void CheckValueRoundTrip(const RegOp& op) {
  std::string text = "REGEDIT4\r\n[HKEY_CURRENT_USER\\T]\r\n";
  orvane::regedit::RegWriter(&text).WriteValue(op.name, op.type, op.data);
  const RegFile again = orvane::regedit::ParseRegFile(text);
  if (again.ops.size() != 2 || !again.messages.empty()) std::abort();
  const RegOp& value = again.ops[1];
  if (value.name != op.name || value.type != op.type || value.data != op.data) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const RegFile file = orvane::regedit::ParseRegFile(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!file.header_ok && !file.ops.empty()) std::abort();
  for (const RegOp& op : file.ops) {
    if (op.kind == OpKind::kOpenKey || op.kind == OpKind::kDeleteKey) CheckKeyRoundTrip(op);
    if (op.kind == OpKind::kSetValue) CheckValueRoundTrip(op);
  }
  return 0;
}
