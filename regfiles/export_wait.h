// Waiting for the external editor while it exports: the wait goes on as long
// as the editor makes progress, and gives up on an editor that hangs. One
// thread at a time; the limit is process-wide.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace orvane {

// How long an export may go without progress before the editor is taken to
// hang: 60 seconds, twice the store's busy timeout (30 s), so an editor that
// waits for the store's lock fails by itself, with its own message, first.
inline constexpr std::chrono::milliseconds kDefaultExportStallLimit{60000};

// The limit in force, and a way to change it (tests use a short one); a
// limit of zero or less restores the default.
std::chrono::milliseconds ExportStallLimit();
void SetExportStallLimit(std::chrono::milliseconds limit);

// Waits until the editor `pid` (a child of this process) has ended and
// returns true, with its exit status in *exit_code (-1 when it did not
// exit). Progress is any change of the file `file` (its identity, size or
// time of change) or of the processor time the editor has used: a working
// export either computes or writes. When there is none for the limit,
// stops the editor (killed and reaped) and returns false.
bool WaitForEditor(uint32_t pid, const std::string& file, int* exit_code);

}  // namespace orvane
