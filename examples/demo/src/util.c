/* Text helpers. util_checksum keeps an unused variable on purpose, so that a
 * build shows how a compiler warning is classified. */
#include "demo/util.h"

u32 util_checksum(const char* text) {
    u32 sum = 0;
    int unused_counter;
    while (*text) sum = sum * 31u + (u8)*text++;
    return sum;
}

void util_upper(char* text) {
    for (; *text; ++text) *text = (char)toupper((u8)*text);
}
