#include "core/LabState.h"

LabStateRecord LabState;

void resetLabState() {
    LabState = LabStateRecord{};
}
