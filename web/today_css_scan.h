#pragma once
// The references of style sheet text: url() with or without quotes, the
// strings of image-set(), and @import "x" or @import url(x). Comments and
// other strings are skipped, so "url(x)" inside a comment or a string is no
// reference.
#include "web/today_ref_emitter.h"

#include <cstddef>

namespace zorone::today {

// Scans doc[begin, end) of the emitter's document; decoding is Css for a
// style sheet or a <style> block, StyleAttribute for a style="" value.
void ScanCss(RefEmitter& emitter, std::size_t begin, std::size_t end, Decoding decoding);

} // namespace zorone::today
