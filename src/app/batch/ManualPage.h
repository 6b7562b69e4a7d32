#pragma once
// The parts of zelk-batch's manual page that come from the action table and
// the job catalog: the numbered actions of [Common] ConvertAction and the
// sections they read, as roff.

#include <string>

namespace zelk {

// `page` with "@ZELK_ACTIONS@" replaced by the numbered actions ("1 merge,
// 2 split, ...") and its line "@ZELK_SECTIONS@" by the sections the actions
// read (".RB ( [Merge] ," ... ".BR [Rename] )").
std::string FillManualPage(std::string page);

}  // namespace zelk
