// dravello-replay: runs a key sequence through the calculator's window logic and prints what the
// window would show. Keys come on standard input; see the README for the transcript format.
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "KeyReader.h"
#include "ReplayOptions.h"
#include "ReplaySession.h"

int main(int argc, char** argv) {
  using namespace dravello;
  ReplayOptions options;
  std::string error;
  if (!ParseReplayOptions(argc, argv, options, error)) {
    std::cerr << "dravello-replay: " << error << '\n'
              << "usage: dravello-replay [--ini FILE] [--decimals N] [--decimal-separator C] "
                 "[--thousands-separator C] [--trace] < KEYS\n";
    return 2;
  }
  const std::string text{std::istreambuf_iterator<char>(std::cin),
                         std::istreambuf_iterator<char>()};
  std::vector<ReplayInput> inputs;
  if (!ReadReplayKeys(text, inputs, error)) {
    std::cerr << "dravello-replay: " << error << '\n';
    return 2;
  }

  ReplaySession session(std::cout, options);
  session.Start();
  for (const ReplayInput& input : inputs) {
    if (input.kind == ReplayInput::Kind::kKey) {
      session.Press(input.key);
    } else {
      session.Click(input.tag);
    }
    if (options.trace) session.WriteState(std::cout);
  }
  session.WriteState(std::cout);
  return 0;
}
