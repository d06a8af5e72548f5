#include "core/record/Record.h"
