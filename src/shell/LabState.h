#pragma once

#include <cstdint>

// What several windows share, for the whole run. Zero at process start; never saved.
struct LinkColorPair {
    std::uint32_t Idle = 0;
    std::uint32_t Selected = 0;
};

struct LabStateRecord {
    std::int32_t SelectedExperiment = 0;  // 1..4, the experiment link last touched
    std::int32_t MovieStep = 0;           // step of the open experiment; names its movie
    std::int32_t VariantNumber = 0;       // 1..6, the task variant
    bool ResultsUnlocked = false;         // the password was given for one deletion
    bool StartupFailed = false;           // a required file could not be opened
    bool RegistrationShown = false;       // the registration window has been shown this run
    LinkColorPair LinkColors;
    bool Dragging = false;  // a borderless window is being dragged by its background
    std::int32_t DragOriginX = 0;
    std::int32_t DragOriginY = 0;
    double StopwatchStart = 0;    // days; the "Старт" moment of experiments 1 and 2
    double StopwatchElapsed = 0;  // days
};

extern LabStateRecord LabState;

// Back to the values at process start (tests).
void resetLabState();
