#pragma once
#include "platform/Files.h"

#include <QString>
