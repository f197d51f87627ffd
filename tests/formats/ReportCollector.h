// Collects the reports made while it is alive, so tests can check code, routine and detail.
#pragma once

#include "ErrorReport.h"

#include <string>
#include <vector>

namespace tavik::testing {

struct Report {
  int code;
  int routine;
  std::string detail;
  bool operator==(const Report&) const = default;
};

class ReportCollector final : public ErrorReporter {
public:
  ReportCollector() { SetErrorReporter(this); }
  ~ReportCollector() override { SetErrorReporter(nullptr); }
  int Report(int code, int routine, const char* detail) override {
    reports.push_back({code, routine, detail ? detail : ""});
    return 0;
  }
  std::vector<testing::Report> reports;
};

}  // namespace tavik::testing
