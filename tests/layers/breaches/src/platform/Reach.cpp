#include "core/program/Context.h"
