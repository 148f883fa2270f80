// Linework, the drafting program.
#include "ui/program.h"

int main() { return linework::RunLinework(); }
