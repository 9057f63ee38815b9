// The process-wide UndoEnabled flag: one boolean shared by every control
// of the process, false at load. The journal records only while it is true.
#pragma once

namespace orvane {

bool UndoEnabledFlag();
void SetUndoEnabledFlag(bool enabled);

}  // namespace orvane
