// The class factory of Quorvel, one per process, and the server's entry
// points that hand it out.
#pragma once

#include <windows.h>
#include <unknwn.h>

namespace orvane::com {

// The factory's IClassFactory; it lives as long as the process.
IClassFactory* QuorvelFactory();

}  // namespace orvane::com
