#pragma once
// The image libraries print warnings and errors to the terminal by
// default.  The toolkit reports every failure as an ImageError instead, so
// the libraries' own process-wide output is switched off once, before the
// first image is read or written.

namespace zelk {

// Idempotent and thread-safe; every reader and writer calls it on entry.
void SilenceImageLibraries();

}  // namespace zelk
