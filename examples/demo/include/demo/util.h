/* Text helpers. */
#ifndef DEMO_UTIL_H
#define DEMO_UTIL_H

#include "demo/types.h"

u32 util_checksum(const char* text);
void util_upper(char* text);

#endif
