#include "gui/frame/Frame.h"
#include "gui/record/Pane.h"
