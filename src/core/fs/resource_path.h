#pragma once
// Where the files shipped with the program (the brand list, the completion sound, help pages) are found.
#include <string>
#include <string_view>

namespace sorano {

// The path of a shipped file such as "default.dat": $SORANO_RESOURCES/<name> when that variable is set;
// else the first existing of, relative to the folder of the running program,
//   resources/<name>, ../resources/<name>   (a build folder inside the source tree), and
//   ../share/sorano/<name>                  (an installed program: bin/ beside share/sorano/).
// Empty when none exists.
std::string ShippedResourcePath(std::string_view name);

}  // namespace sorano
