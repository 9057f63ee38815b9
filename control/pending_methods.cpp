// Methods of the interface whose features are not available yet: each
// raises 60999 after taking its arguments as the finished method will
// (enumeration modes narrowed to a byte). A method leaves this file for its
// subsystem's folder when its feature is built.
#include "control/method_args.h"
#include "orvane/quorvel.h"

namespace orvane {



}  // namespace orvane
