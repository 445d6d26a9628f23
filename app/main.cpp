#include "qt/QtHost.h"

int main(int argc, char** argv) {
    return yorde::qt::RunPlaceholderWindow(argc, argv, "Yorde001 - Veltor sp. z o.o. sp.k. - V 1.00.18");
}
