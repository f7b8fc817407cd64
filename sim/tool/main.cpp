#include <cstdlib>
#include <iostream>

#include "Tool.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return nwsim::RunTool(std::move(args), std::getenv("NWSIM_ROOT"), std::cout, std::cerr);
}
