#include <windows.h>

#include "cabrillo/mbcs_text.h"

bool IsSystemLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }
