// On Windows the platform layer adds nothing: the registry and the version
// record come from the system. This file keeps the library non-empty.
namespace orvane::platform {
int WindowsPlatformMarker() { return 0; }
}  // namespace orvane::platform
