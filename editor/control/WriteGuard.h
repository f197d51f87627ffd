#pragma once

#include "LexivaneControl.h"

namespace lexivane::control {

class LexivaneControl::WriteGuard {
 public:
  // Only the user is stopped by `ReadOnly`: the control's own writes lift it for their duration.
  explicit WriteGuard(LexivaneControl& control) : control_(control) {
    if (control_.edit_ && control_.settings_.readOnly) SendMessageW(control_.edit_, EM_SETREADONLY, FALSE, 0);
  }
  ~WriteGuard() {
    if (control_.edit_ && control_.settings_.readOnly) SendMessageW(control_.edit_, EM_SETREADONLY, TRUE, 0);
  }
  WriteGuard(const WriteGuard&) = delete;
  WriteGuard& operator=(const WriteGuard&) = delete;

 private:
  LexivaneControl& control_;
};

}  // namespace lexivane::control
