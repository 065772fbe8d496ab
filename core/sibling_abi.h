/* The six exports of the sibling project-options library "Sivrel.dll", as
 * the options editor calls them. Plain C, caller-cleans-up convention, like
 * the plug-in's own exports; the stand-in under tools/sivrel implements them.
 *
 * GetDLLInterfaceVersion  out major, out minor; 0 on success. The editor
 *                         needs (major << 16 | minor) >= 0x10000.
 * GetDLLProductVersion    buffer, length: list form, 0 on success.
 * GetDLLOrdinalVersion    out value; 0 on success.
 * IsEnablePhase           toolchain name, phase name; non-zero: enabled.
 * ConvertRawToCook        toolchain name, raw text, its length, out pointer
 *                         to a NUL-terminated block the library allocates;
 *                         0 on success. The block goes back to the library's
 *                         own FreeSimpleType.
 * FreeSimpleType          a block from ConvertRawToCook; null is ignored. */
#ifndef QUORLE_SIBLING_ABI_H
#define QUORLE_SIBLING_ABI_H

#include <stdint.h>

#if defined(_WIN32)
#define SIVREL_CALL __cdecl
#else
#define SIVREL_CALL
#endif

typedef int(SIVREL_CALL* SivrelInterfaceVersionFn)(uint32_t* major, uint32_t* minor);
typedef int(SIVREL_CALL* SivrelProductVersionFn)(char* buffer, int32_t* length);
typedef int(SIVREL_CALL* SivrelOrdinalVersionFn)(uint32_t* value);
typedef int(SIVREL_CALL* SivrelIsEnablePhaseFn)(const char* toolchain, const char* phase);
typedef int(SIVREL_CALL* SivrelConvertRawToCookFn)(const char* toolchain, const char* raw,
                                                   int32_t length, char** cooked);
typedef void(SIVREL_CALL* SivrelFreeSimpleTypeFn)(void* block);

#endif
