#pragma once
inline int fileCount() { return 0; }
