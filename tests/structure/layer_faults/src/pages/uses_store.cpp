#include "app/main_window.h"
#include "app/skin_store.h"
#include "controls/fine.h"
#include <QWidget>
