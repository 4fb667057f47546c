#pragma once
// Keeping the window alive during long work: at fixed points of a long loop,
// take one pending message and dispatch it, so that the window repaints and
// commands such as a stop still arrive.
#include "engine/core.h"

namespace zorone {

// Dispatches one pending message, unless the dispatches already nested on
// the stack reach a bound. Local detection of a whole site on disk would
// otherwise recurse once per file (each file read dispatches the next
// dispatch request, which detects the next file, ...) until the stack ran out.
bool DispatchOnePending(Core& core);

constexpr int kMaxNestedDispatch = 8;

} // namespace zorone
