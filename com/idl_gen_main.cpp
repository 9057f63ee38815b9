// Build-time program for the type library:
//   orvane_idl_gen OUTPUT.idl                 writes the IDL (replacing the
//                                             file only when the text changed)
//   orvane_idl_gen --fix-defaults IN OUT.tlb  writes IN with its Variant
//                                             defaults typed (tlb_defaults.h)
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "com/idl_writer.h"
#include "com/tlb_defaults.h"

namespace {

std::string ReadFile(const char* path, bool& ok) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  ok = static_cast<bool>(in);
  return text.str();
}

bool WriteFile(const char* path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  return out.good();
}

int WriteIdl(const char* path) {
  const std::string idl = orvane::com::TypeLibraryIdl();
  bool exists = false;
  if (ReadFile(path, exists) == idl && exists) return 0;
  return WriteFile(path, idl) ? 0 : 1;
}

int FixDefaults(const char* in, const char* out) {
  bool ok = false;
  std::string library = ReadFile(in, ok);
  std::string error;
  if (!ok || !orvane::com::FixVariantDefaults(library, error)) {
    std::cerr << "orvane_idl_gen: " << in << ": " << (ok ? error : "cannot read") << "\n";
    return 1;
  }
  return WriteFile(out, library) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2) return WriteIdl(argv[1]);
  if (argc == 4 && std::string(argv[1]) == "--fix-defaults") return FixDefaults(argv[2], argv[3]);
  std::cerr << "usage: orvane_idl_gen OUTPUT.idl | orvane_idl_gen --fix-defaults IN.tlb OUT.tlb\n";
  return 2;
}
