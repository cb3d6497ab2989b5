// Search and replacement in narrow texts of the system's ANSI code page, which may be a
// double-byte one: a lead byte and the byte after it form one character, and an occurrence of
// the search text counts only where it starts at a character boundary. So "\" (0x5C) is found
// on its own but never as the second byte of a Shift-JIS character. In a single-byte code page
// every byte is a character and the search is a plain byte search.
//
// The functions keep no state; any thread may call them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Whether a byte begins a double-byte character.
using LeadBytePredicate = bool (*)(unsigned char);

// The system's ANSI code page: IsDBCSLeadByte in a Windows build; no lead bytes elsewhere.
bool IsSystemLeadByte(unsigned char byte);

// Where the character at `at` ends: at + 2 for a lead byte with a byte after it, else at + 1.
std::size_t NextCharacter(std::string_view text, std::size_t at,
                          LeadBytePredicate isLeadByte = IsSystemLeadByte);

// The first occurrence of `search` at a character boundary at or after `from` (itself a
// boundary); npos when none. An empty `search` is found at `from`.
std::size_t FindText(std::string_view text, std::string_view search, std::size_t from = 0,
                     LeadBytePredicate isLeadByte = IsSystemLeadByte);

// A copy of `text` with every occurrence of `search` replaced by `replacement`, from left to
// right, without overlaps; text that a replacement produced is never searched again. `text`
// comes back unchanged when `search` is empty or equals `replacement`.
std::string ReplaceAll(std::string_view text, std::string_view search, std::string_view replacement,
                       LeadBytePredicate isLeadByte = IsSystemLeadByte);
