// A program that embeds the Orvane component: it writes a value with the
// Quorvel control and reads it back with a second control.
// Usage: embed STORE_FILE
#include <orvane/quorvel.h>
#include <orvane/store.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: embed STORE_FILE\n");
    return 2;
  }
  try {
    orvane::SelectStore(argv[1]);
    orvane::NullContainer container;

    orvane::Quorvel writer(container);
    writer.InitProperties();
    writer.GlobalKeyPath("HKEY_CURRENT_USER\\Software\\Embed");
    writer.ValueName("Answer");
    writer.ValueType(orvane::ValueType::DWord);
    writer.Value(orvane::Variant::Long(42));
    writer.SetValue();

    orvane::Quorvel reader(container);
    reader.InitProperties();
    reader.GlobalKeyPath("HKEY_CURRENT_USER\\Software\\Embed");
    reader.ValueName("Answer");
    reader.GetValue();
    std::printf("Answer = %d (Orvane %s)\n", reader.Value().long_value(), ORVANE_VERSION_STRING);
    return reader.Value().long_value() == 42 ? 0 : 1;
  } catch (const orvane::Error& error) {
    std::fprintf(stderr, "error %d: %s\n", error.number(), error.what());
    return 1;
  }
}
