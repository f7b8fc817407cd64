#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "PackedDate.h"

namespace nwsim {

// Wrong use of the command line: reported in one line, exit code 2.
class UsageError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// A place on a volume: "SYS:DOCS/REPORTS".
struct VolumePath {
  std::string volume;
  std::string folder;
};

// The arguments of one subcommand. Options are taken by name, then the
// positional arguments in order; Finish() refuses anything left over.
class Arguments {
public:
  explicit Arguments(std::vector<std::string> args) : FArgs(std::move(args)) {}

  std::optional<std::string> Option(const std::string& name);
  bool Flag(const std::string& name);
  std::string Positional(const char* what);
  void Finish() const;

private:
  std::vector<std::string> FArgs;
};

VolumePath ParseVolumePath(const std::string& text);
// "SYS:DOCS/A.TXT" -> folder SYS:DOCS and name A.TXT.
VolumePath ParseFilePath(const std::string& text, std::string& name);
uint32_t ParseNumber(const std::string& text, const char* what, uint32_t max = 0xFFFFFFFF);
DateTimeParts ParseWhen(const std::string& text);

}  // namespace nwsim
