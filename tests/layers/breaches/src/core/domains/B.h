#pragma once
#include "core/domains/A.h"
