#include "cli/adif_reader.h"

#include <algorithm>
#include <array>
#include <limits>

namespace {

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Field names are printable ASCII without blanks and without the characters the format
// reserves; anything else after a "<" is no tag (a stray "<" in free text, or a broken file).
constexpr std::array<bool, 256> kNameBytes = [] {
  std::array<bool, 256> table{};
  for (int c = '!'; c < 0x7f; ++c) table[c] = true;
  for (const char c : std::string_view(",:<>{}")) table[static_cast<unsigned char>(c)] = false;
  return table;
}();

bool IsNameByte(char c) { return kNameBytes[static_cast<unsigned char>(c)]; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  }
  return true;
}

const AdifField* AdifRecord::Find(std::string_view name) const {
  for (const AdifField& field : fields) {
    if (EqualsIgnoringCase(field.name, name)) return &field;
  }
  return nullptr;
}

CAdifReader::CAdifReader(std::string_view file) : m_file(file) {}

// At m_pos, a "<". On success m_pos is after the tag and its data; on a malformed tag it
// stays at the "<".
CAdifReader::Tag CAdifReader::ReadTag() {
  Tag tag;
  tag.field.offset = m_pos;
  const std::size_t end = m_file.size();
  std::size_t i = m_pos + 1;
  while (i < end && IsNameByte(m_file[i])) ++i;
  if (i == end) {
    tag.kind = TagKind::kTruncated;
    tag.problem = "a tag is not closed before the end of the file";
    return tag;
  }
  tag.field.name = m_file.substr(m_pos + 1, i - m_pos - 1);
  if (tag.field.name.empty() || (m_file[i] != ':' && m_file[i] != '>')) {
    tag.kind = TagKind::kMalformed;
    tag.problem = "\"<\" does not begin a tag";
    return tag;
  }
  if (m_file[i] == '>') {
    if (EqualsIgnoringCase(tag.field.name, "EOR")) {
      tag.kind = TagKind::kEndOfRecord;
    } else if (EqualsIgnoringCase(tag.field.name, "EOH")) {
      tag.kind = TagKind::kEndOfHeader;
    } else {
      tag.kind = TagKind::kMalformed;
      tag.problem = "tag <" + std::string(tag.field.name) + "> has no length";
      return tag;
    }
    m_pos = i + 1;
    return tag;
  }

  // ':' length [':' type] '>'
  ++i;
  const std::size_t digitsBegin = i;
  std::size_t length = 0;
  bool tooLong = false;
  while (i < end && IsDigit(m_file[i])) {
    const std::size_t digit = static_cast<std::size_t>(m_file[i] - '0');
    if (length > (std::numeric_limits<std::size_t>::max() - digit) / 10) tooLong = true;
    if (!tooLong) length = length * 10 + digit;
    ++i;
  }
  if (i == digitsBegin || i == end || (m_file[i] != ':' && m_file[i] != '>')) {
    tag.kind = i == end ? TagKind::kTruncated : TagKind::kMalformed;
    tag.problem = i == end ? "a tag is not closed before the end of the file"
                           : "the length of <" + std::string(tag.field.name) + "> is not a number";
    return tag;
  }
  if (m_file[i] == ':') {
    ++i;
    while (i < end && IsNameByte(m_file[i])) ++i;
    if (i == end) {
      tag.kind = TagKind::kTruncated;
      tag.problem = "a tag is not closed before the end of the file";
      return tag;
    }
    if (m_file[i] != '>') {
      tag.kind = TagKind::kMalformed;
      tag.problem = "the type of <" + std::string(tag.field.name) + "> is not closed by \">\"";
      return tag;
    }
  }
  const std::size_t dataBegin = i + 1;
  if (tooLong || length > end - dataBegin) {
    tag.kind = TagKind::kTruncated;
    tag.problem = "the length " + std::string(m_file.substr(digitsBegin, i - digitsBegin)) +
                  " of <" + std::string(tag.field.name) + "> runs past the end of the file";
    return tag;
  }
  tag.kind = TagKind::kField;
  tag.field.data = m_file.substr(dataBegin, length);
  m_pos = dataBegin + length;
  return tag;
}

void CAdifReader::SkipHeader() {
  m_headerDone = true;
  if (m_file.empty() || m_file[0] == '<') return;
  for (;;) {
    m_pos = m_file.find('<', m_pos);
    if (m_pos == std::string_view::npos) break;
    const Tag tag = ReadTag();
    switch (tag.kind) {
      case TagKind::kEndOfHeader:
        return;
      case TagKind::kEndOfRecord:
        // A record ended before any <EOH>: the leading text was not a header.
        m_pos = 0;
        return;
      case TagKind::kField:
        break;
      case TagKind::kMalformed:
        ++m_pos;  // free header text may hold a "<"
        break;
      case TagKind::kTruncated:
        m_headerError =
            "the header, at byte " + std::to_string(tag.field.offset) + ": " + tag.problem;
        m_ended = true;
        return;
    }
  }
  m_headerError = "the header (the text before the first record) does not end with <EOH>";
  m_ended = true;
}

// The next "<" from `from`; between fields there are mostly a few blanks, so a short look
// comes before the library's search.
std::size_t CAdifReader::NextTag(std::size_t from) const {
  const std::size_t near = std::min(from + 4, m_file.size());
  for (std::size_t i = from; i < near; ++i) {
    if (m_file[i] == '<') return i;
  }
  return m_file.find('<', near);
}

bool CAdifReader::SkipToEndOfRecord() {
  for (std::size_t i = m_file.find('<', m_pos + 1); i != std::string_view::npos;
       i = m_file.find('<', i + 1)) {
    if (EqualsIgnoringCase(m_file.substr(i, 5), "<EOR>")) {
      m_pos = i + 5;
      return true;
    }
  }
  m_ended = true;
  return false;
}

bool CAdifReader::Next(AdifRecord& record) {
  if (!m_headerDone) SkipHeader();
  if (m_ended) return false;
  m_pos = NextTag(m_pos);
  if (m_pos == std::string_view::npos) {
    m_ended = true;
    return false;
  }
  record.number = ++m_records;
  record.offset = m_pos;
  record.fields.clear();
  record.error.clear();
  record.errorOffset = 0;

  for (;;) {
    Tag tag = ReadTag();
    switch (tag.kind) {
      case TagKind::kField:
        record.fields.push_back(tag.field);
        break;
      case TagKind::kEndOfRecord:
        return true;
      case TagKind::kEndOfHeader:
      case TagKind::kMalformed:
        record.error =
            tag.kind == TagKind::kEndOfHeader ? "<EOH> inside the records" : std::move(tag.problem);
        record.errorOffset = tag.field.offset;
        SkipToEndOfRecord();
        return true;
      case TagKind::kTruncated:
        record.error = std::move(tag.problem);
        record.errorOffset = tag.field.offset;
        m_ended = true;
        return true;
    }
    m_pos = NextTag(m_pos);
    if (m_pos == std::string_view::npos) {
      record.error = "the record is not closed by <EOR> before the end of the file";
      record.errorOffset = record.offset;
      m_ended = true;
      return true;
    }
  }
}
