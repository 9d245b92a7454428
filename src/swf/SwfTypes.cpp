#include "swf/SwfTypes.h"

#include <algorithm>
#include <cmath>

namespace swf {

namespace {
std::int32_t fixed16(double v) {
    const double f = std::round(v * 65536.0);
    return std::int32_t(std::clamp(f, -1073741824.0, 1073741823.0));  // fits FB[31]
}
std::int32_t twips(double v) {
    return std::int32_t(std::clamp(std::round(v), -1073741824.0, 1073741823.0));  // fits SB[31]
}
}  // namespace

Matrix Matrix::fromValues(double sx, double r0, double r1, double sy, double txTwips,
                          double tyTwips) {
    Matrix m;
    m.scaleX = fixed16(sx);
    m.scaleY = fixed16(sy);
    m.rotateSkew0 = fixed16(r0);
    m.rotateSkew1 = fixed16(r1);
    m.hasScale = m.scaleX != 65536 || m.scaleY != 65536;
    m.hasRotate = m.rotateSkew0 != 0 || m.rotateSkew1 != 0;
    if (!m.hasScale) m.scaleX = m.scaleY = 65536;
    m.tx = twips(txTwips);
    m.ty = twips(tyTwips);
    return m;
}

Matrix Matrix::translate(double txTwips, double tyTwips) {
    return fromValues(1, 0, 0, 1, txTwips, tyTwips);
}

bool CxForm::operator==(const CxForm& o) const {
    for (int i = 0; i < 4; ++i) {
        const int m1 = hasMult ? mult[i] : 256, m2 = o.hasMult ? o.mult[i] : 256;
        const int a1 = hasAdd ? add[i] : 0, a2 = o.hasAdd ? o.add[i] : 0;
        if (m1 != m2 || a1 != a2) return false;
    }
    return true;
}

bool CxForm::isIdentity() const {
    return *this == CxForm();
}

CxForm CxForm::multiply(double r, double g, double b, double a) {
    CxForm c;
    const double v[4] = {r, g, b, a};
    for (int i = 0; i < 4; ++i)
        c.mult[i] = std::int16_t(std::clamp(std::lround(v[i] * 256.0), -16383L, 16383L));
    c.hasMult = true;
    if (c.isIdentity()) c.hasMult = false;
    return c;
}

bool LineStyle::operator==(const LineStyle& o) const {
    if (width != o.width || !(color == o.color) || startCap != o.startCap || join != o.join ||
        endCap != o.endCap || hasFill != o.hasFill || noHScale != o.noHScale ||
        noVScale != o.noVScale || pixelHinting != o.pixelHinting || noClose != o.noClose)
        return false;
    if (join == JoinMiter && miterLimit != o.miterLimit) return false;
    if (hasFill && !(fill == o.fill)) return false;
    return true;
}

bool ShapeRecord::operator==(const ShapeRecord& o) const {
    if (type != o.type) return false;
    switch (type) {
        case StyleChange:
            if (hasMove != o.hasMove || hasFill0 != o.hasFill0 || hasFill1 != o.hasFill1 ||
                hasLine != o.hasLine || newStyles != o.newStyles)
                return false;
            if (hasMove && (moveX != o.moveX || moveY != o.moveY)) return false;
            if (hasFill0 && fill0 != o.fill0) return false;
            if (hasFill1 && fill1 != o.fill1) return false;
            if (hasLine && line != o.line) return false;
            if (newStyles && styleSet != o.styleSet) return false;
            return true;
        case StraightEdge:
            return dx == o.dx && dy == o.dy;
        case CurvedEdge:
            return dx == o.dx && dy == o.dy && ax == o.ax && ay == o.ay;
    }
    return false;
}

Action Action::gotoFrame(std::uint16_t frame) {
    Action a;
    a.code = GotoFrame;
    a.data.append(char(frame & 0xFF));
    a.data.append(char(frame >> 8));
    return a;
}

int Action::gotoTarget() const {
    if (data.size() < 2) return -1;
    return std::uint8_t(data[0]) | (std::uint8_t(data[1]) << 8);
}

}  // namespace swf
