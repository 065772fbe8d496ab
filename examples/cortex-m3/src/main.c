/* Checks that the start-up code copied .data and zeroed .bss, and says so
 * through semihosting. Before the run the tests fill RAM with 0xA5, so a
 * missing copy or zeroing shows. */
#include <string.h>

#include "board.h"
#include "semihosting.h"

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
    semihosting_write("Hello from the Cortex-M3: .data copied, .bss zeroed\n");
    return 0;
}
