#include "fp_exceptions.h"

#ifdef _WIN32
#include <float.h>
#else
#include <fenv.h>
#endif

extern "C" void maskFloatingPointExceptions(void)
{
#ifdef _WIN32
    unsigned int current = 0;
    _controlfp_s(&current, _MCW_EM, _MCW_EM);
#else
    fedisableexcept(FE_ALL_EXCEPT);
#endif
}
