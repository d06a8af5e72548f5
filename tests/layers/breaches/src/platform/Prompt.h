#pragma once
#include "platform/widgets/Box.h"
