#include "app/main_window.h"
#include "skins/skin_store.h"
#include "controls/fine.h"
#include <QWidget>
