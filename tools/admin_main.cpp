// typrosync-admin: makes administrations for the sync.
//   typrosync-admin create DIR [--password PW]
//   typrosync-admin sample DIR [--customers N] [--lines M] [--seed S] [--routed P]

#include <cstdlib>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "admin_schema.h"
#include "sample_data.h"

namespace {

using typrosync::admin::SampleOptions;

constexpr char kUsage[] =
    "gebruik: typrosync-admin create MAP [--password WACHTWOORD]\n"
    "         typrosync-admin sample MAP [--customers N] [--lines M] [--seed S] [--routed P]\n";

struct Command {
  std::string verb;
  std::string dir;
  std::string password;
  SampleOptions sample;
};

// A whole number option value; nullopt when it is not one.
std::optional<long long> WholeNumber(const std::string& text) {
  try {
    size_t used = 0;
    const long long value = std::stoll(text, &used);
    if (used == text.size() && value >= 0) return value;
  } catch (const std::exception&) {
  }
  return std::nullopt;
}

bool ApplyOption(Command& command, const std::string& name, const std::string& value) {
  if (name == "--password" && command.verb == "create") {
    command.password = value;
    return true;
  }
  if (command.verb != "sample") return false;
  const std::optional<long long> number = WholeNumber(value);
  if (!number) return false;
  if (name == "--customers" && *number > 0 && *number <= 1000000) {
    command.sample.customers = static_cast<int>(*number);
  } else if (name == "--lines" && *number <= 100000000) {
    command.sample.lines = static_cast<long>(*number);
  } else if (name == "--routed" && *number >= 0 && *number <= 100) {
    command.sample.routed_percent = static_cast<int>(*number);
  } else if (name == "--seed") {
    command.sample.start_value = static_cast<uint64_t>(*number);
  } else {
    return false;
  }
  return true;
}

std::optional<Command> ParseArguments(const std::vector<std::string>& args) {
  if (args.size() < 2 || (args[0] != "create" && args[0] != "sample") || args[1].empty()) {
    return std::nullopt;
  }
  Command command{args[0], args[1], "", {}};
  for (size_t i = 2; i < args.size(); i += 2) {
    if (i + 1 >= args.size() || !ApplyOption(command, args[i], args[i + 1])) return std::nullopt;
  }
  return command;
}

int Run(const Command& command) {
  if (command.verb == "create") {
    typrosync::admin::CreateAdministration(command.dir, command.password);
  } else {
    typrosync::admin::CreateAdministration(command.dir, "",
                                           [&](typrosync::AdministrationWriter& tallyra) {
                                             typrosync::admin::FillSample(tallyra, command.sample);
                                           });
  }
  return EXIT_SUCCESS;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    std::cout << kUsage;
    return EXIT_SUCCESS;
  }
  const std::optional<Command> command = ParseArguments(args);
  if (!command) {
    std::cerr << kUsage;
    return 2;
  }
  try {
    return Run(*command);
  } catch (const std::exception& error) {
    std::cerr << "typrosync-admin: " << error.what() << '\n';
    return EXIT_FAILURE;
  }
}
