#pragma once
#include "gui/record/Pane.h"
