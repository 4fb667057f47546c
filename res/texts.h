#pragma once
// Every Japanese text of Zorone as its exact CP932 bytes. The texts themselves
// are listed, readable, in texts.def.
#include <string>

namespace zorone::res {

#define ZT(name, text) extern const std::string name;
#include "res/texts.def"
#undef ZT

} // namespace zorone::res
