#pragma once

// A colour transform as the renderer composes it through sprites (multiply and add terms per
// channel, in 0..255 units), and the brush of a fill style under one.

#include <QBrush>
#include <QColor>
#include <algorithm>
#include <cmath>

#include "swf/SwfTypes.h"

namespace swf {

struct ColorTransform {
    float m[4] = {1, 1, 1, 1};
    float a[4] = {0, 0, 0, 0};
    bool identity = true;

    ColorTransform then(const CxForm& c) const {  // this ∘ c: c applied first
        if (c.isIdentity()) return *this;
        ColorTransform r;
        for (int i = 0; i < 4; ++i) {
            const float cm = c.hasMult ? c.mult[i] / 256.0f : 1.0f;
            const float ca = c.hasAdd ? float(c.add[i]) : 0.0f;
            r.m[i] = m[i] * cm;
            r.a[i] = m[i] * ca + a[i];
        }
        r.identity = false;
        return r;
    }
    QColor apply(const Rgba& c) const {
        if (identity) return QColor(c.r, c.g, c.b, c.a);
        const float in[4] = {float(c.r), float(c.g), float(c.b), float(c.a)};
        int out[4];
        for (int i = 0; i < 4; ++i)
            out[i] = std::clamp(int(std::lround(in[i] * m[i] + a[i])), 0, 255);
        return QColor(out[0], out[1], out[2], out[3]);
    }
};

// Keeps the colour's coverage and makes it opaque: the transform of a clip-depth mask.
ColorTransform opaqueMask();

// The brush of a fill style under a colour transform, in shape twips. Returns false when the
// style draws nothing (bitmap fills, unknown types, a gradient matrix that cannot be inverted).
bool makeBrush(const FillStyle& f, const ColorTransform& cx, QBrush& out);

}  // namespace swf
