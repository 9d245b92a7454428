#pragma once

#include <QPointF>
#include <QSizeF>
#include <QString>

#include "Scene.h"

// Small explanatory diagrams for the empty half of a stage: why heating and a catalyst speed a
// reaction up. Each is a panel 250 × 146 with its top left at `at`, drawn from the clock on.
namespace insets {

// The energy distribution of molecules at 25 and 45 °C with the activation energy: the share
// of molecules that have at least Eₐ (shaded) grows with temperature.
void energyDistribution(Scene& s, QPointF at);

// The energy profile of a reaction with and without a catalyst, in a panel `size` with its top
// left at `at` and `title` over the plot: the catalyst lowers the barrier Eₐ to Eₐ′.
void catalystProfile(Scene& s, QPointF at, QSizeF size, const QString& title);

// A rate plot that grows point by point: the conditional rate v at 25, 35 and 45 °C, each
// point twice the last, drawn in a panel `size` with its top left at `at`.
void ratePlot(Scene& s, QPointF at, QSizeF size);

}  // namespace insets
