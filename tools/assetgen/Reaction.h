#pragma once

#include <QString>

#include "Scene.h"

// The timed tube of the thiosulfate experiments: the tube is filled (or heated in its water
// bath), the acid goes in from a pipette, the mixture turns turbid and the cross under the tube
// fades until it can no longer be seen, `seconds` after the acid is in (to the frame).
//
// The frame in which the acid is in carries the label "acid"; the cross seen from above is the
// object named "cross" and disappears at that frame plus the reaction time.
namespace reaction {

struct Setup {
    QString title;     // "Пробирка 2"
    QString subtitle;  // the composition
    int thiosulfateMl = 2;
    int waterMl = 3;
    double seconds = 10;  // from the acid going in until the cross is gone
    int temperature = 0;  // 35 or 45: the tube stands in a water bath heated to it first
};

Scene movie(const Setup& setup);

}  // namespace reaction
