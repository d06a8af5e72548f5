#include "gui/catalogues/Tree.h"
