#include "device/fine.h"
#include "devlib/protocol.h"
#include "hid/fine.h"
#include "protocol/fine.h"
#include <vector>
