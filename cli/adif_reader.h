// CAdifReader: the records of an ADIF log in the tag format (.adi), one at a time.
//
// The format: an optional header ending in <EOH>, then records, each a run of fields
// "<NAME:length[:type]>data" closed by <EOR>. Lengths count bytes, so a field's data may hold
// any bytes, "<", ">" and zero bytes included. Tag names are compared without regard to ASCII
// case. Text between fields is ignored. The header ends at the first <EOH>; a file whose first
// byte is "<", or that closes a record with <EOR> before any <EOH>, has no header.
//
// The reader never trusts the file: every length is checked against the bytes that remain.
// A record that cannot be read comes back with an error (its record number, the byte offset
// of the fault and the reason) and is still counted; reading then resumes after the next
// <EOR>, or ends when no <EOR> follows. Nothing is skipped without a record for it.
//
// The fields are views into the caller's buffer, which must outlive the reader and every
// record it returned. Not thread-safe; one reader per buffer.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct AdifField {
  std::string_view name;   // as written, in any case
  std::string_view data;   // exactly `length` bytes
  std::size_t offset = 0;  // of the field's "<"
};

struct AdifRecord {
  std::size_t number = 0;  // 1 for the first record of the file
  std::size_t offset = 0;  // of the record's first byte after the previous tag
  std::vector<AdifField> fields;
  // Empty when the record was read; else why not, at `errorOffset`.
  std::string error;
  std::size_t errorOffset = 0;

  // The first field named `name` (given in upper case, matched in any case), or nullptr when
  // the record has none.
  const AdifField* Find(std::string_view name) const;
};

// True when `a` and `b` are equal but for the case of ASCII letters.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

class CAdifReader {
 public:
  explicit CAdifReader(std::string_view file);
  CAdifReader(const CAdifReader&) = delete;
  CAdifReader& operator=(const CAdifReader&) = delete;

  // Reads the next record into `record` (its field list is reused). False at the end of the
  // file, when no further record begins; `record` is then unspecified.
  bool Next(AdifRecord& record);

  // A fault of the file as a whole (a header without <EOH>), or empty. Set by the first Next.
  const std::string& HeaderError() const { return m_headerError; }

 private:
  enum class TagKind { kField, kEndOfRecord, kEndOfHeader, kMalformed, kTruncated };
  struct Tag {
    TagKind kind = TagKind::kMalformed;
    AdifField field;
    std::string problem;
  };

  void SkipHeader();
  Tag ReadTag();
  bool SkipToEndOfRecord();
  std::size_t NextTag(std::size_t from) const;

  std::string_view m_file;
  std::size_t m_pos = 0;
  std::size_t m_records = 0;
  bool m_headerDone = false;
  bool m_ended = false;
  std::string m_headerError;
};
