/* A shared library that has the close entry point but no event capture. */
#include <stdint.h>

uint8_t Close_device(void) {
    return 1;
}
