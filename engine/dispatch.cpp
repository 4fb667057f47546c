#include "engine/dispatch.h"

namespace zorone {

bool DispatchOnePending(Core& core)
{
    if (core.dispatchDepth >= kMaxNestedDispatch)
        return false;
    ++core.dispatchDepth;
    const bool dispatched = core.loop.DispatchOne();
    --core.dispatchDepth;
    return dispatched;
}

} // namespace zorone
