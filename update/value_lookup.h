// The two lookups the update check runs over bytes that come from the network: a header
// value ("name: value" CR LF) and a body element (<name>value</name>). Both take the text as
// a length-bounded view (it need not be zero-terminated) and never write past `capacity`.
#pragma once

#include <cstddef>
#include <string_view>

namespace tirrel {

// Finds `name` anywhere in `header` (plain substring search), skips the two bytes after it
// (": " unchecked) and takes the value up to the next CR LF. Copies the value, cut to
// `capacity` - 1 bytes and zero-terminated, into `out` (nothing when `capacity` is 0).
// Returns the full value length; -1 when `name` is absent or no CR LF ends the value (then
// `out` holds the empty text).
[[nodiscard]] int FindHeaderValue(std::string_view header, std::string_view name, char* out,
                                  std::size_t capacity);

// Finds `name` in `body`, takes the value from one byte after it (the ">") up to one byte
// before the first "/" + `name` after that. Copies it like FindHeaderValue. Returns the
// distance from the value's start to that "/" (value length + 1); -1 when `name` is absent
// (`out` untouched), -2 when no closing tag follows (`out` holds the empty text).
[[nodiscard]] int GetElementValue(std::string_view body, std::string_view name, char* out,
                                  std::size_t capacity);

}  // namespace tirrel
