#pragma once
// sorano-cli's command table. Each command lives in its own file and adds itself to the table with a
// namespace-scope CommandRegistration, so a new command is a new file and nothing else:
//
//   namespace { int RunFoo(Context& ctx, std::span<const std::string> args) { ... } }
//   static const CommandRegistration kFoo{{"foo", "foo CODE", "One line of help.", RunFoo}};
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/prompt/prompt.h"
#include "core/settings/data_folder.h"
#include "core/settings/settings_store.h"
#include "core/store/brand_table.h"

namespace sorano::cli {

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // the data cannot be had (missing file, unused slot)
inline constexpr int kExitUsage = 2;    // bad command line (unknown option, bad code)

struct Context {
  DataFolder data;                // --data DIR, else check_path of the settings
  const SettingsStore& settings;  // the user's settings, read without ever writing the registry
  std::ostream& out;
  std::ostream& err;
};

// args: the words after the command name, without the global options.
using CommandFn = int (*)(Context& ctx, std::span<const std::string> args);

struct Command {
  std::string_view name;
  std::string_view usage;  // "chart CODE [--period d|w|m] [--adjust]"
  std::string_view help;   // one line
  CommandFn run;
};

// Every registered command, in registration order.
const std::vector<Command>& Commands();

struct CommandRegistration {
  explicit CommandRegistration(const Command& command);
};

// Core's questions on a terminal: the text goes to err and the default answer is taken.
class StderrPrompt : public Prompt {
 public:
  explicit StderrPrompt(std::ostream& err) : err_(err) {}
  PromptAnswer Ask(std::string_view text, std::string_view caption, PromptButtons buttons, PromptIcon icon,
                   PromptAnswer defaultAnswer) override;

 private:
  std::ostream& err_;
};

// A brand code as typed: one to four decimal digits. nullopt for anything else.
std::optional<int32_t> ParseBrandCode(std::string_view text);

// The shortest text that reads back as the same double ("0.5", "1", "1e+300").
std::string FormatDouble(double value);

// One CSV line of UTF-8 fields ended by "\n": a field holding ',', '"' or a line break is put in double
// quotes, its '"' doubled.
std::string CsvLine(std::span<const std::string> fields);

// Reads data/view.dat into table; false, after saying so on ctx.err, when it cannot be read.
bool LoadBrands(Context& ctx, std::string_view command, BrandTable& table);

// "code,name" lines of the brands of codes, in their order. kExitOk.
int PrintBrands(Context& ctx, const BrandTable& table, const std::vector<int32_t>& codes);

// The rows of the account list (history false) or the history list as the list pane shows them: one CSV
// line a row, its columns in order, from the portfolio file and the brand table. kExitFailure when
// either cannot be read.
int PrintPortfolioRows(Context& ctx, std::string_view command, bool history);

// ---- options shared by the commands; messages start "sorano-cli <command>: " ----

// arg is the option `name`, as "--name" (value in the next word) or "--name=value".
bool IsOption(std::string_view arg, std::string_view name);
// The value of the option at args[i]; i moves past a value given as the next word. False, with a
// message, when the value is missing.
bool OptionValue(std::string_view command, std::span<const std::string> args, size_t& i, std::string& value,
                 std::ostream& err);
// A whole decimal number and nothing else.
bool ParseWhole(std::string_view text, int& out);
// "d", "w", "m": the period 0, 1, 2.
std::optional<int> ParsePeriod(std::string_view text);
// name=value onto the store: DWORD and 4-byte values as integers (0x... allowed), 8-byte values as
// doubles, texts as UTF-8; "base_line" is the run-time base-line switch. False, with a message, for
// an unknown name or a value of the wrong form.
bool ApplySetting(std::string_view command, SettingsStore& store, std::string_view assignment,
                  std::ostream& err);

}  // namespace sorano::cli
