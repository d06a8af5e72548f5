#pragma once
#include "core/program/Context.h"
