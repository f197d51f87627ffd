// Proves the harness: a Windows program that dies of an access violation must fail its test.
#include <cstring>

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--exit-cleanly") == 0) return 0;
  volatile int* nowhere = nullptr;
  *nowhere = 42;
  return 0;
}
