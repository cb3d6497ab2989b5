#include "cabrillo/mbcs_text.h"

std::size_t NextCharacter(std::string_view text, std::size_t at, LeadBytePredicate isLeadByte) {
  if (at + 1 < text.size() && isLeadByte(static_cast<unsigned char>(text[at]))) return at + 2;
  return at + 1;
}

std::size_t FindText(std::string_view text, std::string_view search, std::size_t from,
                     LeadBytePredicate isLeadByte) {
  for (std::size_t at = from; at <= text.size(); at = NextCharacter(text, at, isLeadByte)) {
    if (text.substr(at, search.size()) == search) return at;
    if (at == text.size()) break;
  }
  return std::string_view::npos;
}

std::string ReplaceAll(std::string_view text, std::string_view search, std::string_view replacement,
                       LeadBytePredicate isLeadByte) {
  if (search.empty() || search == replacement) return std::string(text);
  std::string result;
  std::size_t rest = 0;
  for (std::size_t at; (at = FindText(text, search, rest, isLeadByte)) != std::string_view::npos;
       rest = at + search.size()) {
    result.append(text.substr(rest, at - rest));
    result.append(replacement);
  }
  result.append(text.substr(rest));
  return result;
}
