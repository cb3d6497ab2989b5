// ProfileStore: the private-profile functions (INI files of "[section]" headers and
// "key=value" lines), one key per call.
//
// Two implementations with one contract:
// - Kernel32ProfileStore (Windows builds only) calls GetPrivateProfileStringA and
//   WritePrivateProfileStringA;
// - PortableProfileStore is our own reader and writer with the same observable behaviour as
//   Wine's kernel32, byte for byte in the files it writes. The scorer and the native tests use it.
// DefaultProfileStore is the one the module uses: kernel32's in a Windows build, ours elsewhere.
//
// The contract, as kernel32 behaves:
// - A file name is relative to the current directory, "\" or "/" separating folders. No folder
//   is ever created: a write into a missing folder fails and changes nothing.
// - Lines end at CR, LF or both; blank lines are dropped. A line whose first non-blank
//   character is "[" and that holds a "]" names a section (up to the last "]"); any other line
//   is a key, with "=" separating name and value (a line without "=" is a key without value).
//   Keys before the first section belong to a section without name. Blanks are tab, VT, FF,
//   Ctrl-Z and space; they are trimmed around section names, key names and values.
// - Section and key names compare without regard to ASCII case; only the first section of a
//   name is searched, and the first key of a name in it wins.
// - Read: the value, or `defaultValue` when the key is missing or has no "=" (the default loses
//   its trailing spaces). A value enclosed in a pair of like quotes (" or ') loses them. At most
//   kBufferSize - 1 bytes come back: what kernel32 copies into a buffer of kBufferSize bytes.
// - Write: the value loses its leading blanks. Replacing a value with the same text leaves the
//   file untouched. Otherwise the whole file is written anew: a new key at the end of its
//   section, a new section at the end of the file, every line ending in CR LF, blank lines
//   gone, blanks around names and values trimmed. A file that began with a UTF-8 or UTF-16
//   byte-order mark keeps its encoding; any other file is text in code page 1252.
// - Values are not escaped: a value holding CR or LF becomes several lines. Every text, in the
//   file or in an argument, ends at its first zero byte, as a C string does.
//
// Windows' own kernel32 differs from Wine's in one way the module never sees: it edits the
// file in place and keeps blank lines and untouched lines as they were.
//
// Both implementations may be called from any thread; calls on one file are serialised within
// the process.
#pragma once

#include <string>
#include <string_view>

class ProfileStore {
 public:
  // The size of the read buffer, its terminating zero included.
  static constexpr int kBufferSize = 100;

  virtual ~ProfileStore() = default;

  virtual std::string Read(std::string_view section, std::string_view key,
                           std::string_view defaultValue, std::string_view file) = 0;
  // False when the file could not be written; the file is then as it was.
  virtual bool Write(std::string_view section, std::string_view key, std::string_view value,
                     std::string_view file) = 0;
};

ProfileStore& PortableProfileStore();
// Defined in Windows builds only.
ProfileStore& Kernel32ProfileStore();
ProfileStore& DefaultProfileStore();
