#include "commands.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <memory>
#include <ostream>

#include "core/lists/list_columns.h"
#include "core/portfolio/portfolio_files.h"
#include "core/settings/settings_table.h"
#include "core/text/fixed_field.h"
#include "core/text/sjis.h"

namespace sorano::cli {
namespace {

std::string Prefix(std::string_view command) {
  return "sorano-cli " + std::string(command) + ": ";
}

// Function-local, so that registrations from other files' static initialisers find it constructed.
std::vector<Command>& Table() {
  static std::vector<Command> table;
  return table;
}

template <typename T>
bool ParseNumber(std::string_view text, T& out) {
  const char* end = text.data() + text.size();
  auto [p, ec] = std::from_chars(text.data(), end, out);
  return ec == std::errc() && p == end;
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

std::string CsvLine(std::span<const std::string> fields) {
  std::string line;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += ',';
    const std::string& f = fields[i];
    if (f.find_first_of(",\"\r\n") == std::string::npos) {
      line += f;
      continue;
    }
    line += '"';
    for (char c : f) line += c == '"' ? std::string("\"\"") : std::string(1, c);
    line += '"';
  }
  return line + '\n';
}

bool LoadBrands(Context& ctx, std::string_view command, BrandTable& table) {
  if (LoadBrandTable(ctx.data, table) >= 0) return true;
  ctx.err << "sorano-cli " << command << ": " << ctx.data.Path("data/view.dat") << " cannot be read\n";
  return false;
}

int PrintBrands(Context& ctx, const BrandTable& table, const std::vector<int32_t>& codes) {
  for (int32_t code : codes) {
    const std::string fields[] = {std::to_string(code),
                                  SjisToUtf8(FieldText(table[static_cast<size_t>(code)].name))};
    ctx.out << CsvLine(fields);
  }
  return kExitOk;
}

int PrintPortfolioRows(Context& ctx, std::string_view command, bool history) {
  BrandTable brands;
  if (!LoadBrands(ctx, command, brands)) return kExitFailure;
  struct Tables {
    FolderTable folders{};
    HoldingTable holdings;
    TradeTable trades;
    SizeClasses sizes;
  };
  const auto t = std::make_unique<Tables>();
  StderrPrompt prompt(ctx.err);
  const int read =
      history ? LoadHistory(ctx.data, t->trades, prompt) : LoadHoldings(ctx.data, t->holdings, prompt);
  if (read < 0) return kExitFailure;
  ListSource source;
  source.kind = history ? SourceKind::kHistory : SourceKind::kAccount;
  const ColumnSet set = ColumnSetOf(source, 0);
  const size_t columns = ColumnTitles(set).size();
  for (const ListRow& row : FillRows(source, {brands, t->folders, t->holdings, t->trades, t->sizes})) {
    std::vector<std::string> cells;
    for (size_t c = 0; c < columns; ++c) cells.push_back(CellText(set, row, static_cast<int>(c)));
    ctx.out << CsvLine(cells);
  }
  return kExitOk;
}

bool ApplySetting(std::string_view command, SettingsStore& store, std::string_view assignment,
                  std::ostream& err) {
  const size_t eq = assignment.find('=');
  if (eq == std::string_view::npos) {
    err << Prefix(command) << "--set needs name=value, not '" << assignment << "'\n";
    return false;
  }
  const std::string_view name = assignment.substr(0, eq);
  const std::string_view value = assignment.substr(eq + 1);
  if (name == "base_line") {
    int32_t v = 0;
    if (!ParseNumber(value, v)) {
      err << Prefix(command) << "bad value for base_line\n";
      return false;
    }
    store.runtime.base_line = v;
    return true;
  }
  const SettingValue* setting = FindSetting(name);
  if (setting == nullptr) {
    err << Prefix(command) << "unknown setting '" << name << "'\n";
    return false;
  }
  std::span<uint8_t> bytes = FieldBytes(store, *setting);
  if (setting->type == RegType::Sz) {
    const std::string sjis = Utf8ToSjis(value);
    std::fill(bytes.begin(), bytes.end(), 0);
    std::memcpy(bytes.data(), sjis.data(), std::min(sjis.size(), bytes.size() - 1));
    return true;
  }
  if (bytes.size() == 8) {
    double d = 0;
    if (!ParseNumber(value, d)) {
      err << Prefix(command) << name << " needs a number\n";
      return false;
    }
    std::memcpy(bytes.data(), &d, 8);
    return true;
  }
  if (bytes.size() == 4) {
    int64_t v = 0;
    bool ok = value.starts_with("0x")
                  ? std::from_chars(value.data() + 2, value.data() + value.size(), v, 16).ec == std::errc()
                  : ParseNumber(value, v);
    if (!ok || v < INT32_MIN || v > UINT32_MAX) {
      err << Prefix(command) << name << " needs a 32-bit integer\n";
      return false;
    }
    const uint32_t u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(u >> (8 * i));
    return true;
  }
  err << Prefix(command) << name << " cannot be set from the command line\n";
  return false;
}

bool OptionValue(std::string_view command, std::span<const std::string> args, size_t& i, std::string& value,
                 std::ostream& err) {
  const std::string& a = args[i];
  const size_t eq = a.find('=');
  if (eq != std::string::npos) {
    value = a.substr(eq + 1);
    return true;
  }
  if (i + 1 == args.size()) {
    err << Prefix(command) << a << " needs a value\n";
    return false;
  }
  value = args[++i];
  return true;
}

bool IsOption(std::string_view a, std::string_view name) {
  return a == name || (a.starts_with(name) && a.size() > name.size() && a[name.size()] == '=');
}

bool ParseWhole(std::string_view text, int& out) {
  return ParseNumber(text, out);
}

std::optional<int> ParsePeriod(std::string_view text) {
  if (text == "d") return 0;
  if (text == "w") return 1;
  if (text == "m") return 2;
  return std::nullopt;
}

}  // namespace sorano::cli
