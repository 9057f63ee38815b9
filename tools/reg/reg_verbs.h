// The reg verbs, one function each, on the registry store through the
// registry API. Each takes the parsed words of its command line and returns
// the exit status (0 done, 1 failed; compare 0 identical, 2 different),
// printing its output and errors on `console`. Call from one thread at a time.
#pragma once

#include "tools/reg/reg_console.h"
#include "tools/reg/reg_switches.h"

namespace orvane::reg {

int Query(Console& console, const Options& options);
int Add(Console& console, const Options& options);
int Delete(Console& console, const Options& options);
int Copy(Console& console, const Options& options);
int Compare(Console& console, const Options& options);
int Export(Console& console, const Options& options);
int Import(Console& console, const Options& options);
int Load(Console& console, const Options& options);
int Unload(Console& console, const Options& options);
int Save(Console& console, const Options& options);
int Restore(Console& console, const Options& options);

}  // namespace orvane::reg
