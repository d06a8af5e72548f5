#pragma once
#include "gui/frame/Frame.h"

class Pane {};
