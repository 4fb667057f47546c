#include "platform/heap_tuning.h"

#include <malloc.h>

namespace zorone::platform {

void KeepFreedHeapForReuse()
{
    constexpr int kTrimThresholdBytes = 1024 * 1024;
    mallopt(M_TRIM_THRESHOLD, kTrimThresholdBytes);
}

} // namespace zorone::platform
