// <windows.h> for the Win32 implementation files, without the A/W macros
// whose names the platform interface uses for its own functions.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#undef CreateDirectory
#undef DeleteFile
#undef GetCurrentDirectory
#undef GetFileAttributes
#undef LoadLibrary
#undef ReplaceFile
#undef SetCurrentDirectory
#undef SetFileAttributes
