#include "board.h"

uint32_t board_magic = 0xC0FFEE42u;
char board_name[] = "cortex-m3";
uint32_t board_samples[BOARD_SAMPLES];
const uint16_t board_table[4] = {1, 2, 4, 8};
