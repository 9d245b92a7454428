#include "shell/LabState.h"

LabStateRecord LabState;

void resetLabState() {
    LabState = LabStateRecord{};
}
