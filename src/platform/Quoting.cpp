#include "platform/Quoting.h"

namespace zelk {

std::string Quoted(std::string_view text) { return "“" + std::string(text) + "”"; }

}  // namespace zelk
