#pragma once
// A libjpeg error manager that prints nothing and never ends the process:
// a fatal error jumps back to the caller's setjmp point with the message
// kept, and warnings about corrupt data are counted so that a damaged image
// is reported instead of being shown with grey blocks.
//
// The function that calls setjmp must hold only plain C data between the
// setjmp and the end of its libjpeg work: longjmp skips C++ destructors.

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace zelk {

struct JpegErrors {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];  // the fatal error, or the first damaging warning
  int damagingWarnings;
};

// Installs the handlers into `errors` and returns the manager for
// cinfo.err.  The caller sets up `errors.jump` with setjmp.
jpeg_error_mgr* InstallJpegErrors(JpegErrors& errors);

}  // namespace zelk
