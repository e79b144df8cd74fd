/* Compiled for a 32-bit target: the header's layout assertions check every offset and size. */
#include "vkoConverterDll.h"

int main(void)
{
    return 0;
}
