#pragma once
#include "gui/app/Form.h"
