#include "command_registry.h"
#include "platform/folders.h"
#include "sim/fine.h"
#include <QCoreApplication>
