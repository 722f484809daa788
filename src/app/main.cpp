#include "Module1App.h"

int main(int argc, char** argv) {
    return SubMain(argc, argv);
}
