#pragma once
// The search area: the code and name search of the search band and of "コード・企業名から検索", and the
// screening of "銘柄スクリーニング" (search_commands.cpp). A name search and a screening fill the list
// pane with the brands found, in code order, as a list of its own (not a folder's); a code search
// shows that brand (CodeBoxChanged, command_handler.h).
#include <string_view>

#include "core/app/shell.h"
#include "core/app/workspace.h"
#include "core/prompt/prompt.h"

namespace sorano {

// The name box's text after "検索" (UTF-8): the brands whose name holds it fill the list. Empty text
// changes nothing; text with a character Shift_JIS cannot hold finds nothing.
void NameSearch(Workspace& ws, Shell& shell, Prompt& prompt, std::string_view utf8);

}  // namespace sorano
