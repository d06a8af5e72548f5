#pragma once
#include "core/domains/B.h"
