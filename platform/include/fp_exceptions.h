#ifndef CLIPWRIGHT_FP_EXCEPTIONS_H
#define CLIPWRIGHT_FP_EXCEPTIONS_H

#ifdef __cplusplus
extern "C" {
#endif

/* Masks every floating-point exception trap on the calling thread, so that divisions by zero
 * and overflows inside codec code give inf/NaN instead of a signal. */
void maskFloatingPointExceptions(void);

#ifdef __cplusplus
}
#endif

#endif
