/* Start-up of the Cortex-M3: the vector table, and a reset handler that
 * copies the initialised data from flash to RAM, zeroes .bss, runs the
 * constructors of the C++ global objects and calls main. The symbols come
 * from the linker sections of firmware.qws. */
#include <stdint.h>

#include "semihosting.h"

extern uint32_t _mdata[]; /* load image of .data, in flash */
extern uint32_t _data[], _edata[];
extern uint32_t _bss[], _ebss[];
extern uint32_t _estack[];
/* The constructors, sorted by priority in the layout's .init_array group. */
typedef void (*constructor_t)(void);
extern constructor_t __init_array_start[], __init_array_end[];

int main(void);
void Reset_Handler(void);

/* The stack; its group in the layout is NOLOAD and kept, so it takes no
 * room in the image and survives --gc-sections. */
static uint8_t stack[4096] __attribute__((section(".stack"), used, aligned(8)));

static void fault(const char* what) {
    semihosting_write(what);
    semihosting_exit(0);
}

void NMI_Handler(void) {
    fault("firmware: NMI\n");
}
void HardFault_Handler(void) {
    fault("firmware: hard fault\n");
}
void Default_Handler(void) {
    fault("firmware: unexpected interrupt\n");
}

/* The first sixteen entries of the Cortex-M3's table: the initial stack
 * pointer, then the exception handlers. */
__attribute__((section(".vects"), used)) const uintptr_t vector_table[16] = {
    (uintptr_t)_estack,
    (uintptr_t)Reset_Handler,
    (uintptr_t)NMI_Handler,
    (uintptr_t)HardFault_Handler,
    (uintptr_t)Default_Handler,
    (uintptr_t)Default_Handler,
    (uintptr_t)Default_Handler,
    0,
    0,
    0,
    0,
    (uintptr_t)Default_Handler,
    (uintptr_t)Default_Handler,
    0,
    (uintptr_t)Default_Handler,
    (uintptr_t)Default_Handler,
};

void Reset_Handler(void) {
#ifndef STARTUP_WITHOUT_DATA_COPY /* the tests' negative control leaves it out */
    const uint32_t* from = _mdata;
    for (uint32_t* to = _data; to < _edata;) *to++ = *from++;
#endif
    for (uint32_t* to = _bss; to < _ebss;) *to++ = 0;
#ifndef STARTUP_WITHOUT_CONSTRUCTORS /* the tests' second negative control */
    /* After .data and .bss: a constructor may use both. */
    for (constructor_t* constructor = __init_array_start; constructor < __init_array_end;)
        (*constructor++)();
#endif
    semihosting_exit(main() == 0);
}
