#include "gui/app/Form.h"
#include "gui/app/Menu.h"
#include "gui/catalogues/Tree.h"
