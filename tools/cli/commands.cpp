#include "commands.h"

#include <charconv>
#include <memory>
#include <ostream>

#include "core/lists/list_columns.h"
#include "core/portfolio/portfolio_files.h"
#include "core/text/fixed_field.h"
#include "core/text/sjis.h"

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

}  // namespace sorano::cli
