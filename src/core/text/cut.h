#pragma once
// The text-cutting helpers of the file and page parsers: markup is deleted or replaced, fields are
// found after a position and cut between two patterns. None of them reads past the end of its input.
#include <optional>
#include <string>
#include <string_view>

namespace sorano {

// Deletes every occurrence of pattern (an empty pattern deletes nothing).
void DeleteAll(std::string& text, std::string_view pattern);

// Replaces every occurrence of from by to, scanning left to right without rescanning inserted text.
void ReplaceAll(std::string& text, std::string_view from, std::string_view to);

// Position of the first occurrence of pattern at or after pos, or npos (also when pos is past the end).
size_t FindAfter(std::string_view text, size_t pos, std::string_view pattern);

// The text between the first `start` at or after pos and the next `end` after it. nullopt when either
// is missing. When `next` is given it receives the position just after `end`.
std::optional<std::string_view> Between(std::string_view text, std::string_view start, std::string_view end,
                                        size_t pos = 0, size_t* next = nullptr);

}  // namespace sorano
