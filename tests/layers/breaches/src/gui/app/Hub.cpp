#include "gui/app/Menu.h"
