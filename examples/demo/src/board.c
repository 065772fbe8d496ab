/* Board set-up and the UART. */
#include "demo/board.h"

#ifndef DEMO_BOARD
#error "the workspace placeholder BOARD names the board"
#endif

void board_init(void) {
    *BOARD_LEDS = 0;
    *BOARD_UART_STATUS = 1;
}

void uart_write(const char* text) {
    size_t n = strlen(text);
    for (size_t i = 0; i < n; ++i) {
        while ((*BOARD_UART_STATUS & 0x80u) != 0) {
        }
        *BOARD_UART_DATA = (u8)text[i];
    }
}
