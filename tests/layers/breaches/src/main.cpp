#include "Program.h"

int main() { return 0; }
