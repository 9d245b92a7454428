#include "app/Startup.h"

int main(int argc, char** argv) {
    return runLaboratory(argc, argv);
}
