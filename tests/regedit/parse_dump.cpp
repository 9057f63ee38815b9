#include "regedit/parse_dump.h"

#include <cstdio>

#include "tools/regedit/reg_parser.h"
#include "tools/regedit/root_keys.h"

namespace orvane::regedit::testing {
namespace {

std::string KeyText(const RegOp& op) {
  std::string root = "?";
  for (const RootKey& key : RootKeys()) {
    if (key.handle == op.root) root = std::string(key.name);
  }
  return op.path.empty() ? root : root + "\\" + op.path;
}

std::string OpText(const RegOp& op) {
  switch (op.kind) {
    case OpKind::kOpenKey: return "open " + KeyText(op);
    case OpKind::kDeleteKey: return "delete " + KeyText(op);
    case OpKind::kSetValue:
      return "set \"" + op.name + "\" " + std::to_string(op.type) + " " + HexBytes(op.data);
    case OpKind::kDeleteValue: return "unset \"" + op.name + "\"";
  }
  return "?";
}

}  // namespace

std::string HexBytes(std::string_view bytes) {
  std::string out;
  char pair[4];
  for (const char c : bytes) {
    std::snprintf(pair, sizeof(pair), "%02x", static_cast<unsigned char>(c));
    if (!out.empty()) out.push_back(',');
    out += pair;
  }
  return out;
}

std::string Dump(const RegFile& file) {
  if (!file.header_ok) return "bad header\n";
  std::string out;
  for (const RegOp& op : file.ops) out += OpText(op) + "\n";
  for (const RegMessage& message : file.messages) {
    out += (message.skipped ? "skip " : "warn ") + std::to_string(message.line) + "\n";
  }
  return out;
}

std::string ParseAndDump(std::string_view text) { return Dump(ParseRegFile(text)); }

}  // namespace orvane::regedit::testing
