#pragma once
#include "core/record/Record.h"
