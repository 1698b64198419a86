// The public header repeats the mouse's IDs and sizes for hosts written in C; the
// build stops if the two ever disagree.

#include "protocol/device_ids.h"
#include "protocol/profile_image.h"
#include "protocol/reports.h"
#include "talwyn_pro_dll.h"

namespace talwyn::protocol {

static_assert(kVendorId == TALWYN_VENDOR_ID);
static_assert(kProductIdNormal == TALWYN_PRODUCT_ID_NORMAL);
static_assert(kProductIdBootloader == TALWYN_PRODUCT_ID_BOOTLOADER);
static_assert(kImageButtonCount == TALWYN_PROFILE_BUTTONS);
static_assert(kDataBlockSize == TALWYN_MAX_LAUNCH_DATA);

} // namespace talwyn::protocol
