#include "gui/frame/Frame.h"
