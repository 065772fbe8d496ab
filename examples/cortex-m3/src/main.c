/* Checks that the start-up code copied .data, zeroed .bss and ran the C++
 * constructors, and that libgcc divides 64-bit numbers, and says so through
 * semihosting. Before the run the tests fill RAM with 0xA5, so a missing
 * copy or zeroing shows. */
#include <stdint.h>
#include <string.h>

#include "board.h"
#include "objects.h"
#include "semihosting.h"

/* The Cortex-M3 has no 64-bit divide: the compiler calls libgcc's
 * __aeabi_uldivmod, so the link needs libgcc. */
static int divides_64_bits(void) {
    volatile uint64_t dividend = 0x123456789ABCDEF0ull;
    volatile uint64_t divisor = 0x12345ull;
    return dividend / divisor == 0x123456789ABCDEF0ull / 0x12345ull &&
           dividend % divisor == 0x123456789ABCDEF0ull % 0x12345ull;
}

static int data_copied(void) {
    return board_magic == 0xC0FFEE42u && strcmp(board_name, "cortex-m3") == 0;
}

static int bss_zeroed(void) {
    for (int i = 0; i < BOARD_SAMPLES; ++i)
        if (board_samples[i] != 0) return 0;
    return 1;
}

int main(void) {
    if (!data_copied()) {
        semihosting_write("firmware: .data was not copied\n");
        return 1;
    }
    if (!bss_zeroed()) {
        semihosting_write("firmware: .bss was not zeroed\n");
        return 1;
    }
    unsigned sum = 0;
    for (int i = 0; i < 4; ++i) sum += board_table[i];
    if (sum != 15) {
        semihosting_write("firmware: .rodata is wrong\n");
        return 1;
    }
    if (!objects_constructed_in_order()) {
        semihosting_write("firmware: the C++ constructors did not run in priority order\n");
        return 1;
    }
    if (!divides_64_bits()) {
        semihosting_write("firmware: 64-bit division is wrong\n");
        return 1;
    }
    semihosting_write("Hello from the Cortex-M3: .data copied, .bss zeroed\n");
    semihosting_write("C++ objects constructed in priority order; 64-bit division by libgcc\n");
    return 0;
}
