#include "imaging/JpegErrors.h"

#include <jerror.h>

#include <cstring>

namespace zelk {
namespace {

JpegErrors& ErrorsOf(j_common_ptr cinfo) {
  // `manager` is the first member, so the manager's address is the record's.
  return *reinterpret_cast<JpegErrors*>(cinfo->err);
}

void OnFatalError(j_common_ptr cinfo) {
  JpegErrors& errors = ErrorsOf(cinfo);
  (*cinfo->err->format_message)(cinfo, errors.message);
  std::longjmp(errors.jump, 1);
}

// Warnings that say nothing about the pixels: stray bytes between markers,
// unknown metadata versions, a damaged colour profile.
bool IsHarmless(int code) {
  return code == JWRN_EXTRANEOUS_DATA || code == JWRN_JFIF_MAJOR || code == JWRN_ADOBE_XFORM ||
         code == JWRN_BOGUS_ICC || code == JWRN_BOGUS_PROGRESSION;
}

void OnMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;  // trace output
  JpegErrors& errors = ErrorsOf(cinfo);
  if (IsHarmless(cinfo->err->msg_code)) return;
  if (errors.damagingWarnings++ == 0) (*cinfo->err->format_message)(cinfo, errors.message);
}

void PrintNothing(j_common_ptr) {}

}  // namespace

jpeg_error_mgr* InstallJpegErrors(JpegErrors& errors) {
  jpeg_error_mgr* manager = jpeg_std_error(&errors.manager);
  manager->error_exit = OnFatalError;
  manager->emit_message = OnMessage;
  manager->output_message = PrintNothing;
  errors.message[0] = '\0';
  errors.damagingWarnings = 0;
  return manager;
}

}  // namespace zelk
