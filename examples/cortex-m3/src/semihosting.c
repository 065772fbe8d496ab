#include "semihosting.h"

enum {
    SYS_WRITE0 = 0x04,
    SYS_EXIT = 0x18,
    /* The reasons SYS_EXIT reports on a 32-bit target. */
    ADP_STOPPED_APPLICATION_EXIT = 0x20026,
    ADP_STOPPED_RUN_TIME_ERROR = 0x20023,
};

static int semihosting_call(int operation, const void* argument) {
    register int r0 __asm__("r0") = operation;
    register const void* r1 __asm__("r1") = argument;
    __asm__ volatile("bkpt 0xAB" : "+r"(r0) : "r"(r1) : "memory");
    return r0;
}

void semihosting_write(const char* text) {
    semihosting_call(SYS_WRITE0, text);
}

void semihosting_exit(int ok) {
    /* On a 32-bit target the reason itself is the argument. */
    semihosting_call(SYS_EXIT,
                     (const void*)(ok ? ADP_STOPPED_APPLICATION_EXIT : ADP_STOPPED_RUN_TIME_ERROR));
    for (;;) {
    }
}
