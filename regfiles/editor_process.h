// The registry editor as a child process: whether one the control waits for
// has ended, and starting one nobody waits for (import, restore) so that it
// is still reaped. Reaping is by the editors' own process ids only, never
// waitpid(-1) or a SIGCHLD handler, which would take an embedding host's
// children. One thread (the host's).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvane {

// True once the process `pid` has ended (it is then reaped, and its exit
// status stored in *exit_code when given; -1 when it did not exit), or when
// it is not a child of this process (exit status -1). Never blocks.
bool EditorHasEnded(uint32_t pid, int* exit_code = nullptr);

// Starts the program `argv` (platform::StartProgram) for a caller that does
// not wait for it and returns its process id, 0 when it cannot be started.
// The editor is remembered; this call and every later one of these
// functions reap the remembered editors that have ended, so at most the
// editors that ended since the last call wait as zombies.
uint32_t StartUnwaitedEditor(const std::vector<std::string>& argv);

// Reaps the remembered editors that have ended. Never blocks.
void ReapEndedEditors();

// Waits until every remembered editor has ended, each by its own process
// id, and forgets them (for a host that shows an import's result). True
// when all of them exited with status 0.
bool WaitForUnwaitedEditors();

}  // namespace orvane
