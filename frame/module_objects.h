// The plug-in frame's module-wide objects. They are constructed at load, in this order, and
// destroyed in the reverse order at unload. Only the host's thread touches them, except where
// a declaration says otherwise.
//
// Objects owned by other parts of the module are declared with them: the engine's tables in
// engine/tables.h, the host link's state in frame/host_link.h, the Multiplier window's state in
// multiplier_window/.
#pragma once

#include <string>

// Every setting lives in this section of this file; the relative path is resolved against the
// host's current directory, "\" separating the folder.
extern const std::string g_strIniSection;  // "Settings"
extern const std::string g_strIniFile;     // "Plugins\SKOLP-NY.ini"

// A settings read yields at most this many bytes, its terminating zero included.
inline constexpr int kProfileBufferSize = 100;

extern int g_nUseMultiplier;     // the Multiplier setting; 0 at load
extern std::string g_strMyName;  // operator name in every sent exchange; "" at load
extern int g_nStartToggle;       // the "Start" toggle as last read; 0 at load
extern std::string g_strContestYear;  // contest start year "%Y"; read by the window thread
