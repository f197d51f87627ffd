// Runs the fuzz target once per file named on the command line, without libFuzzer, to
// reproduce a crash under a debugger or in a build without -fsanitize=fuzzer.
#include "ByteSource.h"

#include <cstdio>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    std::vector<uint8_t> bytes;
    if (!tavik::ReadWholeFile(argv[i], bytes)) {
      std::fprintf(stderr, "cannot read %s\n", argv[i]);
      return 1;
    }
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    std::printf("%s: ok\n", argv[i]);
  }
  return 0;
}
