#pragma once
// The outside pages the link commands open in the web browser for a brand, as one table: which host
// setting, which path, and whether the page exists for the three index brands (whose services know
// them as "998405", "998407" and "23337").
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/settings/settings_store.h"

namespace sorano {

// True for the identifiers of the link commands.
bool IsLinkCommand(int id);

// "http://" + host + path for command id on the brand code (name: its Shift_JIS name). nullopt when
// id is no link command, when the page does not exist for an index brand and code is one, and for the
// web search when the name is empty. The web search sends the name as UTF-8, percent-encoded.
std::optional<std::string> LinkUrl(int id, int32_t code, std::string_view sjisName,
                                   const SettingsStore& settings);

}  // namespace sorano
