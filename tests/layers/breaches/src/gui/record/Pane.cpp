#include "gui/record/Pane.h"
