#pragma once
#include "gui/frame/Frame.h"
