#pragma once
#include "core/program/Context.h"
#include "platform/widgets/Box.h"

#include <QWidget>
