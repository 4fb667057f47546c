#pragma once
// Keeping the window alive during long work: take one pending message and
// dispatch it, as the original message pump did at fixed points.
#include "engine/core.h"

namespace zorone {

// Dispatches one pending message, unless the dispatches already nested on
// the stack reach a bound. Local detection of a whole site on disk would
// otherwise recurse once per file (each file read dispatches the next
// dispatch request, which detects the next file, ...) until the stack ran out.
bool DispatchOnePending(Core& core);

constexpr int kMaxNestedDispatch = 8;

} // namespace zorone
