#pragma once
// Killing work midway, as SIGKILL or a power cut would: the work runs in a
// forked child process that kills itself at a chosen step.

#include <functional>

namespace zelk::test {

// Runs `work` in a child process, handing it a callback to call at each
// step; at the `killAt`-th call the child SIGKILLs itself.  Returns true
// when the child was killed (false when the work ended first).
bool KilledAtStep(int killAt, const std::function<void(const std::function<void()>& step)>& work);

// Runs `work` in a child process that may write no file beyond `bytes`:
// the first write past it ends the child at once (SIGXFSZ), midway through
// whatever it was writing.  Returns true when the child ended so.
bool KilledWritingBeyond(long bytes, const std::function<void()>& work);

}  // namespace zelk::test
