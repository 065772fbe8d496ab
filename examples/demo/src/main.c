/* The demo program: greets over the UART and blinks the LEDs while it
 * keeps a running checksum of what it has sent. */
#include "demo/board.h"
#include "demo/ring.h"
#include "demo/util.h"

static const char greeting[] = "quorle demo ready\r\n";
u32 blink_period = 50000; /* initialised data: copied by the start-up code */
static u32 ticks;         /* zero-initialised data */

int main(void) {
    char line[32];
    board_init();
    uart_write(greeting);
    for (;;) {
        ++ticks;
        if (ticks % blink_period == 0) {
            led_toggle(ticks / blink_period % 4);
            ring_push(util_checksum(greeting) + ticks);
        }
        if (ring_count() == 8) {
            memset(line, 0, sizeof line);
            line[0] = (char)('0' + ring_sum() % 10);
            util_upper(line);
            uart_write(line);
        }
    }
}
