// The process-wide UndoEnabled flag.
#include "undo/undo_enabled.h"

namespace orvane {
namespace {

bool undo_enabled = false;

}  // namespace

bool UndoEnabledFlag() { return undo_enabled; }

void SetUndoEnabledFlag(bool enabled) { undo_enabled = enabled; }

}  // namespace orvane
