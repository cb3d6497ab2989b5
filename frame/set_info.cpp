// The three entry points that describe the module's one contest set.
#include "frame/entry_points.h"

extern "C" {

int SKOLP_CDECL GetNumberOfSets() { return 1; }

const char* SKOLP_CDECL GetSetName(int set) { return set == 0 ? "SKOLP-NY-RTTY (C)" : ""; }

int SKOLP_CDECL StatsGetExchgCount0(const char*, const char*, const char*) { return 2; }

}  // extern "C"
