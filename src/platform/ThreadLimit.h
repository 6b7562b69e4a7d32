#pragma once

namespace zelk {

// Makes sure the process runs with OMP_THREAD_LIMIT set.
//
// Tesseract on Debian is built with OpenMP, and libgomp reads
// OMP_THREAD_LIMIT only once, when it is loaded, which happens before main()
// runs.  Left unlimited, each recognition spreads over every core and runs
// several times slower than one thread per page; our own worker threads are
// the parallelism.  So when the variable is missing or empty this sets it
// to 1 and replaces the process with a fresh copy of itself (same arguments,
// same environment plus the variable).  When the variable is already set it
// returns at once, which also ends the re-execution after one round.
//
// Call it first thing in main(), before any thread is started.  Should the
// re-execution fail, the function returns and the program goes on with the
// variable set (too late for libgomp, but harmless).
void EnsureOpenMpThreadLimit(int argc, char** argv);

}  // namespace zelk
