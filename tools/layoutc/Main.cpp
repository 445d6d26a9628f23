// layoutc: the program's layouts -> binary layout resources (see Run.cpp).
#include "Config.h"

TLayoutcConfig ProgramLayoutConfig();

int main(int argc, char** argv) { return LayoutcMain(argc, argv, ProgramLayoutConfig()); }
