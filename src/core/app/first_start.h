#pragma once
// A user's first start: the settings point check_path at the per-user data folder; this seeds that
// folder with the shipped brand list and builds the brand table from it.
#include <string>
#include <string_view>

#include "core/fs/resource_path.h"
#include "core/prompt/prompt.h"
#include "core/settings/data_folder.h"
#include "core/store/brand_table.h"

namespace sorano {

// Shipped files the help menu opens: the manual's first page and the ReadMe.
inline constexpr std::string_view kHelpIndex = "help/index.html";
inline constexpr std::string_view kReadMe = "ReadMe.txt";

// Copies shippedDefaultDat to data/default.dat when the data folder has none (a user's own list is
// never overwritten), creates an empty data/mybrand.dat when there is none, then applies default.dat to the
// brand table and saves view.dat. Returns the result of ApplyDefaultData (-1 when data/default.dat is missing
// or view.dat could not be written; the user was told through the prompt).
int SeedDataFolder(const DataFolder& folder, const std::string& shippedDefaultDat, BrandTable& table,
                   Prompt& prompt);

}  // namespace sorano
