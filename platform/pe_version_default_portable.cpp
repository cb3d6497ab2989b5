// Outside Windows the module reads version resources with our own reader.
#include "platform/pe_version.h"

PeVersionReader& DefaultPeVersionReader() { return PortablePeVersionReader(); }
