// Build-time program: writes the type library's IDL to the file named by
// its one argument (replacing it only when the text changed).
#include <fstream>
#include <iostream>
#include <sstream>

#include "com/idl_writer.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: orvane_idl_gen OUTPUT.idl\n";
    return 2;
  }
  const std::string idl = orvane::com::TypeLibraryIdl();
  std::ifstream existing(argv[1], std::ios::binary);
  std::ostringstream old;
  old << existing.rdbuf();
  if (existing && old.str() == idl) return 0;
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out << idl;
  return out.good() ? 0 : 1;
}
