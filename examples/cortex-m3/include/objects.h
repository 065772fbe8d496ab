/* The C++ part of the firmware, as C sees it. */
#ifndef OBJECTS_H
#define OBJECTS_H

#ifdef __cplusplus
extern "C" {
#endif

/* 1 when the start-up code ran the constructors of the global objects
 * before main, in the order of their priorities. */
int objects_constructed_in_order(void);

#ifdef __cplusplus
}
#endif

#endif
