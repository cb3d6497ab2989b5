// The calling convention of the module's exported functions: the platform's C convention,
// in which the caller removes the arguments. Spelled out on 32-bit x86, where it matters.
#pragma once

#if defined(__i386__)
#define SKOLP_CDECL __attribute__((cdecl))
#else
#define SKOLP_CDECL
#endif
