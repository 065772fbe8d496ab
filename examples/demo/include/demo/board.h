/* The demo board: a UART and an LED bank behind memory-mapped registers. */
#ifndef DEMO_BOARD_H
#define DEMO_BOARD_H

#include "demo/types.h"

#define BOARD_UART_DATA ((volatile u8*)0x00E00000u)
#define BOARD_UART_STATUS ((volatile u8*)0x00E00004u)
#define BOARD_LEDS ((volatile u32*)0x00E00010u)

void board_init(void);
void uart_write(const char* text);
void led_set(unsigned index, int on);
void led_toggle(unsigned index);

#endif
