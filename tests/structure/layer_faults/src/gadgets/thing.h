#include "profiles/fine.h"
