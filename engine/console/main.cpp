// radixpad-console: replays a transcript of converter actions from standard input.
#include <iostream>

#include "transcript_runner.h"

int main() {
  std::ios::sync_with_stdio(false);
  return radixpad::RunTranscript(std::cin, std::cout, std::cerr);
}
