#pragma once

#include <cstdint>

// What several windows share, for the whole run. Zero at process start; never saved.
struct LinkColorPair {
    std::uint32_t idle = 0;
    std::uint32_t selected = 0;
};

struct LabStateRecord {
    std::int32_t selectedExperiment = 0;  // 1..4, the experiment link last touched
    std::int32_t variantNumber = 0;       // 1..6, the task variant
    bool resultsUnlocked = false;         // the password was given for one deletion
    bool startupFailed = false;           // a required file could not be opened
    bool registrationShown = false;       // the registration window has been shown this run
    LinkColorPair linkColors;
    bool dragging = false;  // a borderless window is being dragged by its background
    std::int32_t dragOriginX = 0;
    std::int32_t dragOriginY = 0;
};

extern LabStateRecord LabState;

// Back to the values at process start (tests).
void resetLabState();
