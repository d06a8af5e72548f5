#include "platform/widgets/Box.h"
