#pragma once

#include <QDateTime>

#include "journal/SittingSummary.h"

class Paper;
class QPagedPaintDevice;

// The protocol of one sitting, as a school files it: who sat where and when, with which
// variant; for each experiment the grade and what it was reached from; the total; lines for the
// teacher's and the student's signature. madeAt (UTC) is printed at the foot of its pages.
void composeProtocol(Paper& paper, const SittingRow& sitting);
// False when the device could not be painted on.
bool drawProtocol(QPagedPaintDevice& device, const SittingRow& sitting, const QDateTime& madeAt);

// The name the experiment has in its window: «Влияние концентрации на скорость реакции» for 1.
QString experimentTitle(int experiment);
