// libjpeg's error manager as both directions use it: fatal errors jump back to the setjmp of
// the one small wrapper that called the library, messages are formatted and dropped.
#pragma once

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace tavik {

struct JpegErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

[[noreturn]] inline void JpegJumpBack(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<JpegErrorManager*>(cinfo->err)->jump, 1);
}

inline void JpegSilentMessage(j_common_ptr cinfo) {
  char text[JMSG_LENGTH_MAX];
  (*cinfo->err->format_message)(cinfo, text);
}

// Points `err` at `manager` with the jump and the silence installed.
inline jpeg_error_mgr* UseJpegErrorManager(JpegErrorManager& manager) {
  jpeg_error_mgr* err = jpeg_std_error(&manager.pub);
  err->error_exit = JpegJumpBack;
  err->output_message = JpegSilentMessage;
  return err;
}

}  // namespace tavik
