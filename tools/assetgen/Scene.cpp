#include "Scene.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <numeric>

#include "ShapeBuilder.h"

Scene::Scene(int width, int height, QColor background, double fps)
    : width_(width), height_(height), background_(background), fps_(fps) {}

int Scene::frames(double seconds) const {
    return int(std::floor(seconds * fps_ + 0.5 + 1e-9));
}

int Scene::define(const art::Art& drawing) {
    characters_.push_back(drawing);
    return int(characters_.size());
}

Scene::Object Scene::put(int character, QPointF at, int layer) {
    Track t;
    t.character = character;
    t.depth = layer * 1000 + (++nextDepth_[layer]);
    t.present[now_] = true;
    t.transform[now_] = QTransform::fromTranslate(at.x(), at.y());
    tracks_.push_back(std::move(t));
    touch(now_);
    return Object{int(tracks_.size()) - 1};
}

Scene::Object Scene::put(const art::Art& drawing, QPointF at, int layer) {
    return put(define(drawing), at, layer);
}

void Scene::setName(Object o, const QByteArray& name) {
    tracks_[o.index].name = name;
}

QByteArray Scene::name(Object o) const {
    return tracks_.at(std::size_t(o.index)).name;
}

double Scene::eased(double s, Ease ease) {
    switch (ease) {
        case Ease::Linear:
            return s;
        case Ease::Smooth:
            return s * s * (3 - 2 * s);
        case Ease::In:
            return s * s;
        case Ease::Out:
            return 1 - (1 - s) * (1 - s);
    }
    return s;
}

void Scene::touch(int frame) {
    frameCount_ = std::max(frameCount_, frame + 1);
}

void Scene::transformTo(Object o, const QTransform& target, double seconds, Ease ease) {
    Track& t = tracks_[o.index];
    const QTransform start = valueAt(t.transform, now_, QTransform());
    const int n = frames(seconds);
    for (int i = 1; i <= n; ++i) {
        const double s = eased(double(i) / n, ease);
        t.transform[now_ + i] = QTransform(start.m11() + (target.m11() - start.m11()) * s,
                                           start.m12() + (target.m12() - start.m12()) * s,
                                           start.m21() + (target.m21() - start.m21()) * s,
                                           start.m22() + (target.m22() - start.m22()) * s,
                                           start.dx() + (target.dx() - start.dx()) * s,
                                           start.dy() + (target.dy() - start.dy()) * s);
    }
    if (n == 0) t.transform[now_] = target;
    touch(now_ + n);
}

void Scene::moveTo(Object o, QPointF at, double seconds, Ease ease) {
    QTransform t = valueAt(tracks_[o.index].transform, now_, QTransform());
    t.setMatrix(t.m11(), t.m12(), 0, t.m21(), t.m22(), 0, at.x(), at.y(), 1);
    transformTo(o, t, seconds, ease);
}

void Scene::scaleTo(Object o, double sx, double sy, QPointF anchor, double seconds, Ease ease) {
    // The anchor is a point of the drawing and stays where it is on the stage.
    const QPointF where = valueAt(tracks_[o.index].transform, now_, QTransform()).map(anchor);
    transformTo(o,
                QTransform(sx, 0, 0, sy, where.x() - anchor.x() * sx, where.y() - anchor.y() * sy),
                seconds, ease);
}

void Scene::tintTo(Object o, const Tint& target, double seconds, Ease ease) {
    Track& t = tracks_[o.index];
    const Tint start = tintAt(t, now_);
    const int n = frames(seconds);
    for (int i = 1; i <= n; ++i) {
        const double s = eased(double(i) / n, ease);
        Tint v;
        for (int c = 0; c < 4; ++c) {
            v.mult[c] = start.mult[c] + (target.mult[c] - start.mult[c]) * s;
            v.add[c] = start.add[c] + (target.add[c] - start.add[c]) * s;
        }
        t.tint[now_ + i] = v;
    }
    if (n == 0) t.tint[now_] = target;
    touch(now_ + n);
}

void Scene::fadeTo(Object o, double alpha, double seconds, Ease ease) {
    Tint target = tintAt(tracks_[o.index], now_);
    target.mult[3] = alpha;
    tintTo(o, target, seconds, ease);
}

void Scene::setAlpha(Object o, int frame, double alpha) {
    Track& t = tracks_[o.index];
    Tint v = tintAt(t, frame);
    v.mult[3] = alpha;
    t.tint[frame] = v;
    touch(frame);
}

void Scene::remove(Object o) {
    tracks_[o.index].present[now_] = false;
    touch(now_);
}

void Scene::play(int frame) {
    actions_[frame].push_back(swf::Action::play());
    touch(frame);
}

void Scene::stop(int frame) {
    actions_[frame].push_back(swf::Action::stop());
    touch(frame);
}

void Scene::label(int frame, const QByteArray& name) {
    labels_[frame] = name;
    touch(frame);
}

void Scene::end() {
    frameCount_ = now_ + 1;
}

template <class T>
T Scene::valueAt(const std::map<int, T>& track, int frame, T fallback) {
    auto it = track.upper_bound(frame);
    if (it == track.begin()) return fallback;
    return std::prev(it)->second;
}

Scene::Tint Scene::tintAt(const Track& t, int frame) const {
    return valueAt(t.tint, frame, Tint());
}

QTransform Scene::transformAt(Object o, int frame) const {
    return valueAt(tracks_[o.index].transform, frame, QTransform());
}

double Scene::alphaAt(Object o, int frame) const {
    return tintAt(tracks_[o.index], frame).mult[3];
}

void Scene::noteText(Object o, const QString& markup, const QRectF& bounds) {
    texts_.push_back({o, markup, bounds});
}

bool Scene::presentAt(Object o, int frame) const {
    return valueAt(tracks_[o.index].present, frame, false);
}

QRectF Scene::boundsAt(Object o, int frame) const {
    return transformAt(o, frame).mapRect(characters_[tracks_[o.index].character - 1].bounds());
}

namespace {
swf::Matrix matrixOf(const QTransform& t) {
    return swf::Matrix::fromValues(t.m11(), t.m12(), t.m21(), t.m22(), t.dx() * 20.0,
                                   t.dy() * 20.0);
}

swf::CxForm cxformOf(const Scene::Tint& tint) {
    swf::CxForm c;
    for (int i = 0; i < 4; ++i) {
        c.mult[i] = std::int16_t(std::lround(std::clamp(tint.mult[i], -127.0, 127.0) * 256));
        c.add[i] = std::int16_t(std::lround(std::clamp(tint.add[i], -255.0, 255.0)));
        if (c.mult[i] != 256) c.hasMult = true;
        if (c.add[i] != 0) c.hasAdd = true;
    }
    return c;
}
}  // namespace

bool Scene::isStatic(const Track& t) const {
    // On show from the first frame to the last, never moved, scaled or recoloured.
    if (!t.name.isEmpty() || !valueAt(t.present, 0, false)) return false;
    for (const auto& [f, on] : t.present)
        if (f < frameCount_ && !on) return false;
    const QTransform first = valueAt(t.transform, 0, QTransform());
    if (first.type() > QTransform::TxTranslate) return false;
    for (const auto& [f, m] : t.transform)
        if (f < frameCount_ && m != first) return false;
    for (const auto& [f, tint] : t.tint)
        if (f < frameCount_ && !(tint == Tint())) return false;
    return true;
}

swf::Movie Scene::build() const {
    swf::Movie movie;
    movie.header.compressed = true;
    movie.header.version = 8;
    movie.header.frameSize = {0, width_ * 20, 0, height_ * 20};
    movie.header.frameRate = std::uint16_t(std::lround(fps_ * 256));
    movie.header.frameCount = std::uint16_t(frameCount_);
    movie.tags.push_back(swf::SetBackgroundColorTag{shapes::rgba(background_)});

    std::vector<Track> tracks = tracks_;
    std::sort(tracks.begin(), tracks.end(),
              [](const Track& a, const Track& b) { return a.depth < b.depth; });

    // Neighbouring drawings that never change become one character: the player then draws one
    // shape where there were dozens of labels and boxes.
    std::vector<art::Art> characters = characters_;
    std::vector<Track> merged;
    for (std::size_t i = 0; i < tracks.size();) {
        std::size_t j = i;
        while (j < tracks.size() && isStatic(tracks[j])) ++j;
        if (j - i >= 2) {
            art::Art backdrop;
            for (std::size_t k = i; k < j; ++k) {
                const QTransform m = valueAt(tracks[k].transform, 0, QTransform());
                backdrop.add(characters_[tracks[k].character - 1].translated({m.dx(), m.dy()}));
            }
            characters.push_back(backdrop);
            Track t;
            t.character = int(characters.size());
            t.depth = tracks[i].depth;
            t.present[0] = true;
            merged.push_back(std::move(t));
            i = j;
        } else {
            merged.push_back(tracks[i]);
            i = std::max(j, i + 1);
        }
    }
    std::vector<bool> used(characters.size() + 1, false);
    for (const Track& t : merged) used[t.character] = true;
    for (std::size_t i = 0; i < characters.size(); ++i) {
        if (!used[i + 1]) continue;
        auto shape =
            std::make_shared<swf::Shape>(shapes::build(characters[i], std::uint16_t(i + 1)));
        movie.tags.push_back(swf::DefineShapeTag{std::move(shape)});
    }
    const std::vector<Track>& tracksInOrder = merged;

    struct Shown {
        bool present = false;
        swf::Matrix matrix;
        swf::CxForm cxform;
    };
    std::vector<Shown> shown(tracksInOrder.size());
    for (int f = 0; f < frameCount_; ++f) {
        for (std::size_t i = 0; i < tracksInOrder.size(); ++i) {
            const Track& t = tracksInOrder[i];
            const bool present = valueAt(t.present, f, false);
            Shown& s = shown[i];
            if (!present) {
                if (s.present) {
                    swf::RemoveObjectTag r;
                    r.depth = std::uint16_t(t.depth);
                    movie.tags.push_back(r);
                    s.present = false;
                }
                continue;
            }
            const swf::Matrix m = matrixOf(valueAt(t.transform, f, QTransform()));
            const swf::CxForm c = cxformOf(tintAt(t, f));
            swf::PlaceObjectTag p;
            p.version = 2;
            p.depth = std::uint16_t(t.depth);
            if (!s.present) {
                p.hasCharacter = true;
                p.characterId = std::uint16_t(t.character);
                p.hasMatrix = true;
                p.matrix = m;
                p.hasCxForm = !c.isIdentity();
                p.cxform = c;
                if (!t.name.isEmpty()) {
                    p.hasName = true;
                    p.name = t.name;
                }
            } else {
                p.move = true;
                p.hasMatrix = !(m == s.matrix);
                p.matrix = m;
                p.hasCxForm = !(c == s.cxform);
                p.cxform = c;
                if (!p.hasMatrix && !p.hasCxForm) continue;
            }
            movie.tags.push_back(p);
            s = {true, m, c};
        }
        if (auto l = labels_.find(f); l != labels_.end())
            movie.tags.push_back(swf::FrameLabelTag{l->second});
        if (auto a = actions_.find(f); a != actions_.end())
            movie.tags.push_back(swf::DoActionTag{a->second});
        movie.tags.push_back(swf::ShowFrameTag{});
    }
    movie.tags.push_back(swf::EndTag{});
    return movie;
}

namespace {
QColor tinted(const QColor& c, const void* context) {
    const auto* tint = static_cast<const Scene::Tint*>(context);
    const int in[4] = {c.red(), c.green(), c.blue(), c.alpha()};
    int out[4];
    for (int i = 0; i < 4; ++i)
        out[i] = std::clamp(int(std::lround(in[i] * tint->mult[i] + tint->add[i])), 0, 255);
    return QColor(out[0], out[1], out[2], out[3]);
}
}  // namespace

QImage Scene::preview(int frame) const {
    QImage image(width_, height_, QImage::Format_ARGB32_Premultiplied);
    image.fill(background_);
    QPainter painter(&image);
    std::vector<int> order(tracks_.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(),
              [&](int a, int b) { return tracks_[a].depth < tracks_[b].depth; });
    for (int i : order) {
        const Track& t = tracks_[i];
        if (!valueAt(t.present, frame, false)) continue;
        painter.setTransform(valueAt(t.transform, frame, QTransform()));
        const Tint tint = tintAt(t, frame);
        art::paint(painter, characters_[t.character - 1], tinted, &tint);
    }
    return image;
}
