/* Fixed-size integers without the host's C library. */
#ifndef DEMO_TYPES_H
#define DEMO_TYPES_H

typedef unsigned char u8;
typedef unsigned short u16;
typedef unsigned int u32;
typedef __SIZE_TYPE__ size_t;

/* From the run-time library that the library generator builds. */
size_t strlen(const char* s);
void* memset(void* dest, int c, size_t n);
int toupper(int c);

#endif
