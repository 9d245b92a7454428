#pragma once

#include <QColor>
#include <QString>

#include "Palette.h"
#include "Scene.h"
#include "Text.h"

// The building blocks every movie shares: its stage, headings, text that fades in, the blank
// boxes under the windows' controls, and the endings the players rely on.
namespace slides {

using Obj = Scene::Object;

// Layers, bottom to top.
enum Layer {
    Back = 1,
    Furniture = 5,
    Behind = 10,
    Glass = 20,
    Liquid = 25,
    Overlay = 30,
    Front = 35,
    Props = 40,
    Labels = 50,
    Boxes = 55,
    Captions = 60
};

Scene stage(int width, int height);

// Text on the stage (or on a lighter panel); `ground` names a different ground it lies on, for
// the legibility check.
Obj putText(Scene& s, const QString& markup, const text::Style& style, QPointF topLeft,
            text::Align align = text::Align::Left, QColor color = palette::ink, int layer = Labels,
            QColor ground = palette::stage);
// Wrapped to a width; returns the object and, through *height, the block's height.
Obj paragraph(Scene& s, const QString& markup, const text::Style& style, QPointF topLeft,
              double width, QColor color = palette::ink, double* height = nullptr,
              int layer = Labels);
// The movie's heading at the top left.
Obj heading(Scene& s, const QString& title, const QString& subtitle = {});
// A formula line in a panel, centred on x. With `overArrow`, the reaction arrow "→" is drawn
// long enough to carry that text (a catalyst) above it.
Obj equation(Scene& s, const QString& markup, QPointF centreTop, double size = 17,
             const QString& overArrow = {});

// Makes an object appear by fading in from the clock on.
void appear(Scene& s, Obj o, double seconds = 0.5);
void disappear(Scene& s, Obj o, double seconds = 0.4);
// Puts and fades in a text; the clock stays.
Obj reveal(Scene& s, const QString& markup, const text::Style& style, QPointF topLeft,
           text::Align align = text::Align::Left, QColor color = palette::ink,
           double seconds = 0.5);

// The blank box under a window control (movie coordinates), there from frame 0.
Obj controlBox(Scene& s, double x, double y, double w, double h);

// The movie ends at the clock. Movies of the equilibrium experiment start and stop themselves.
void finish(Scene& s, bool selfPlaying = false);

// A caption shown from the clock for `seconds`.
Obj caption(Scene& s, const QString& markup, QPointF topLeft, double seconds, QColor color,
            double size = 15, double width = 0);

}  // namespace slides

namespace slides {
// Bubbles rising from a band (x0..x1 at y0) up to y1 and fading there, `count` of them in
// turn, over frames [from, to). With loop, the pattern of the last frame joins the first.
void bubbles(Scene& s, double x0, double x1, double y0, double y1, int count, int from, int to,
             double period, double radius, int layer = Props);
// The same in a vessel that narrows upwards: the band is x0..x1 at y0 and narrows to
// topX0..topX1 at y1 (the liquid's surface, where the bubbles burst), so every bubble stays
// inside the liquid.
void bubblesInCone(Scene& s, double x0, double x1, double topX0, double topX1, double y0, double y1,
                   int count, int from, int to, double period, double radius, int layer = Props);
// A foam of small bubbles on a liquid's surface (y surfaceY, halfWidth either side of
// centreX): it grows from frame `from` to `settle`, then stays, shimmering, with bubbles that
// burst and form again, until `to`.
void foam(Scene& s, double centreX, double surfaceY, double halfWidth, int from, int settle, int to,
          int layer = Front);
}  // namespace slides
