#pragma once
#include "Program.h"
