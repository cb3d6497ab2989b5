// The module's ten entry points, exactly as the host calls them: plain C functions with the
// platform's C calling convention. Stats.dll exports each under its plain export name (named
// in the comment) and under the MSVC decoration of its full signature (resources/Stats.def).
//
// The host calls them on its own thread, one at a time. Text arguments are NUL-terminated
// byte strings; none of the pointers is kept after a call returns. Every pointer may be null:
// a null text reads as the empty text, a null date as a null date.
#pragma once

#include "platform/cdecl.h"
#include "platform/ole_date_time.h"

extern "C" {

// Export GetNumberOfSets: always 1.
int SKOLP_CDECL GetNumberOfSets();

// Export GetSetName: "SKOLP-NY-RTTY (C)" for set 0, "" for any other index.
const char* SKOLP_CDECL GetSetName(int set);

// Export GetExchgCount0: set 0 has two exchange fields; reads none of its arguments.
int SKOLP_CDECL StatsGetExchgCount0(const char*, const char*, const char*);

// Export IsValidExchg0: 1 when `exchange` is valid for field `field` (0 number, 1 name).
int SKOLP_CDECL StatsIsValidExchg0(const char* exchange, const char*, const char*, const char*,
                                   int, int, int field);

// Export ResetStats0: starts a contest run. Always 1.
int SKOLP_CDECL ResetStats0(const char*, int exportFlag, const char* ownCall,
                            COleDateTime* contestStart, COleDateTime* contestEnd,
                            const char* operatorName, const char*, const char*, const char*,
                            const char*, const char*, const char*, const char*, const char*,
                            const char*, int, int, int, double, double, const char*, const char*,
                            const char*);

// Export AddData0: adds one logged QSO. 1 accepted, 0 refused (listed in "err.txt").
int SKOLP_CDECL AddData0(const char* ownCall, const char* call, COleDateTime* time,
                         COleDateTime*, COleDateTime*, COleDateTime*, unsigned int,
                         unsigned int freqHz, const char* mode, const char* rstSent,
                         const char* rstRcvd, const char* numberSent, const char* exchRcvd,
                         const char*, const char*, const char*, const char*, const char*,
                         const char*, const char*, const char*, const char* areaSource,
                         const char* prefix, int, int, int, double, double, const char*,
                         const char* continent, const char*, const char* band, const char*);

// Export RemoveData0: removes the first matching QSO. 0 when the arguments cannot describe a
// stored QSO, else 1.
int SKOLP_CDECL RemoveData0(const char* ownCall, const char* call, COleDateTime* time,
                            COleDateTime*, COleDateTime*, COleDateTime*, unsigned int,
                            unsigned int freqHz, const char* mode, const char* rstSent,
                            const char* rstRcvd, const char* numberSent, const char* exchRcvd,
                            const char*, const char*, const char*, const char*, const char*,
                            const char*, const char*, const char*, const char* areaSource,
                            const char* prefix, int, int, int, double, double, const char*,
                            const char* continent, const char*, const char* band, const char*);

// Export CheckCall0: 0 dupe, 1 no new multiplier, 2 new multiplier, 4 band mismatch. Writes the
// previous exchange (at most 99 bytes and a zero) into `previousExchange` when not null.
int SKOLP_CDECL CheckCallFunc0(const char* call, unsigned int, unsigned int, const char* mode,
                               const char*, const char*, const char*, const char*, const char*,
                               const char*, const char*, const char*, const char* areaSource,
                               const char* prefix, int, int, int, double, double, const char*,
                               const char*, const char*, const char*, const char*,
                               const char* band, const char* otherBand, char* previousExchange,
                               char*);

// Export GetResult0: the result text, valid until the next call. In an export run it also
// writes the Cabrillo log and then -1 into *exported (when not null).
const char* SKOLP_CDECL GetResult0(int* exported);

// Export SetupSet0: shows the setup dialog and returns when it is closed.
void SKOLP_CDECL SetupSet0();

}  // extern "C"
