#include "hid/fine.h"
#include "pages/page.h"
