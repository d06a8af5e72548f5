#pragma once
#include <QString>

// The whole text of the Harvest Control List or RSS channel last read; the list readers
// parse it.
inline QString documentText;
