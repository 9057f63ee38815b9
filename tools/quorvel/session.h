// The ways quorvel runs a script: a whole text parsed first and then run,
// or an interactive session that parses and runs each line as it comes.
// Each creates its own Host (Quorvel1 at start, all controls destroyed at
// the end) and writes to standard output; mistakes go to standard error.
#pragma once

#include <iosfwd>
#include <string>

#include "host.h"

namespace quorvel {

constexpr int kExitClean = 0;   // no statement raised
constexpr int kExitRaised = 1;  // some statement raised an error
constexpr int kExitUsage = 2;   // a usage or syntax error; nothing ran

// Parses the whole `source`; on a syntax error writes
// "NAME:LINE: syntax error: MESSAGE" to `err` and runs nothing. Otherwise
// runs every statement, writing to `out`. Returns one of the exit codes.
// `options` choose how the host places its controls (--form, --design).
int RunScript(const std::string& name, const std::string& source, std::ostream& out, std::ostream& err,
              HostOptions options = {});

// The interactive prompt with line editing and history (libedit), until
// the end of input. Returns kExitRaised if any statement raised.
int RunInteractive(HostOptions options = {});

}  // namespace quorvel
