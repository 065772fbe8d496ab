/* What main checks: data that the start-up code must have set up. */
#ifndef BOARD_H
#define BOARD_H

#include <stdint.h>

#define BOARD_SAMPLES 8

extern uint32_t board_magic;                  /* .data: 0xC0FFEE42 */
extern char board_name[];                     /* .data: "cortex-m3" */
extern uint32_t board_samples[BOARD_SAMPLES]; /* .bss: zero */
extern const uint16_t board_table[4];         /* .rodata */

#endif
