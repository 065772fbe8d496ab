/* ARM semihosting: the debugger (here qemu with -semihosting) carries out
 * the requests a "bkpt 0xAB" hands it. */
#ifndef SEMIHOSTING_H
#define SEMIHOSTING_H

/* Writes a NUL-terminated text on the host's console. */
void semihosting_write(const char* text);

/* Ends the program; qemu leaves with 0 when `ok` is not 0, with 1 otherwise. */
void semihosting_exit(int ok) __attribute__((noreturn));

#endif
