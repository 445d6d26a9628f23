// A layout compiler that knows the test classes.
#include "TestClasses.h"

int main(int argc, char** argv) { return LayoutcMain(argc, argv, layoutc_test::TestLayoutConfig()); }
