#include "scenario_words.h"

#include <cstdio>
#include <utility>

namespace scenario {

// Splits a line into words separated by blanks; double quotes (anywhere in a word) keep blanks
// and take the escapes \" \\ \t \r \n. A # outside quotes at the start of a word ends the line.
bool SplitWords(const std::string& line, std::vector<Word>& words, std::string& error) {
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
      ++i;
      continue;
    }
    if (line[i] == '#') break;
    Word word;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
      if (line[i] != '"') {
        word.text += line[i++];
        continue;
      }
      word.quoted = true;
      ++i;
      for (;;) {
        if (i >= line.size()) {
          error = "a quoted text is not closed";
          return false;
        }
        const char c = line[i++];
        if (c == '"') break;
        if (c != '\\') {
          word.text += c;
          continue;
        }
        if (i >= line.size()) {
          error = "a backslash ends the line";
          return false;
        }
        switch (const char escaped = line[i++]) {
          case '"':
          case '\\':
            word.text += escaped;
            break;
          case 't':
            word.text += '\t';
            break;
          case 'r':
            word.text += '\r';
            break;
          case 'n':
            word.text += '\n';
            break;
          default:
            error = std::string("unknown escape \\") + escaped;
            return false;
        }
      }
    }
    words.push_back(std::move(word));
  }
  return true;
}

// The text in double quotes with the escapes the scenario format reads, and \xHH for any other
// byte that is not printable ASCII.
std::string Quote(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    switch (c) {
      case '"':
        quoted += "\\\"";
        break;
      case '\\':
        quoted += "\\\\";
        break;
      case '\t':
        quoted += "\\t";
        break;
      case '\r':
        quoted += "\\r";
        break;
      case '\n':
        quoted += "\\n";
        break;
      default:
        if (c >= 0x20 && c < 0x7f) {
          quoted += c;
        } else {
          char hex[8];
          std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(c));
          quoted += hex;
        }
    }
  }
  return quoted + "\"";
}

}  // namespace scenario
