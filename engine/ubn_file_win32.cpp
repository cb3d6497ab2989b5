// The Windows C runtime opens files exclusively unless asked; _SH_DENYNO lets the host and an
// editor read and write the UBN file while the module has it open.
#include <share.h>
#include <windows.h>

#include "engine/ubn_file_platform.h"

std::FILE* OpenSharedFile(const char* name, const char* mode) {
  return _fsopen(name, mode, _SH_DENYNO);
}

bool FileExists(const char* name) { return GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES; }
