// Velmora: the NC program workbench.
#include "app/startup.h"

int main(int argc, char **argv) { return velmora::runVelmora(argc, argv); }
