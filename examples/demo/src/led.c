/* The LED bank. */
#include "demo/board.h"

void led_set(unsigned index, int on) {
    u32 mask = 1u << index;
    if (on)
        *BOARD_LEDS |= mask;
    else
        *BOARD_LEDS &= ~mask;
}

void led_toggle(unsigned index) {
    *BOARD_LEDS ^= 1u << index;
}
