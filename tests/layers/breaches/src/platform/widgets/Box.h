#pragma once
#include "core/program/Context.h"

#include <QWidget>
