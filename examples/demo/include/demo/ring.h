/* A small ring of samples, written in C++ and used from C. */
#ifndef DEMO_RING_H
#define DEMO_RING_H

#include "demo/types.h"

#ifdef __cplusplus
extern "C" {
#endif

void ring_push(u32 value);
u32 ring_sum(void);
unsigned ring_count(void);

#ifdef __cplusplus
}
#endif

#endif
