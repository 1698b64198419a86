#include "skins/skin_store.h"
#include "controls/fine.h"
#include "pages/page.h"
