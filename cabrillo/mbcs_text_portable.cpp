// Outside Windows the texts are taken as single-byte ones.
#include "cabrillo/mbcs_text.h"

bool IsSystemLeadByte(unsigned char) { return false; }
