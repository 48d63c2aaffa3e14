#include "commands.h"

#include <charconv>
#include <ostream>

namespace sorano::cli {
namespace {

// Function-local, so that registrations from other files' static initialisers find it constructed.
std::vector<Command>& Table() {
  static std::vector<Command> table;
  return table;
}

}  // namespace

const std::vector<Command>& Commands() {
  return Table();
}

CommandRegistration::CommandRegistration(const Command& command) {
  Table().push_back(command);
}

PromptAnswer StderrPrompt::Ask(std::string_view text, std::string_view, PromptButtons, PromptIcon,
                               PromptAnswer defaultAnswer) {
  err_ << text << '\n';
  return defaultAnswer;
}

std::optional<int32_t> ParseBrandCode(std::string_view text) {
  if (text.empty() || text.size() > 4) return std::nullopt;
  int32_t code = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    code = code * 10 + (c - '0');
  }
  return code;
}

std::string FormatDouble(double value) {
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  return ec == std::errc() ? std::string(buf, end) : std::string("?");
}

}  // namespace sorano::cli
