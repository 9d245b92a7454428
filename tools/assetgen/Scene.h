#pragma once

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QTransform>
#include <map>
#include <vector>

#include "Art.h"
#include "swf/SwfTypes.h"

// A movie described as what appears, moves and fades when, rather than as tags: drawings are
// defined once and placed as objects; verbs change an object over a span of time that starts
// at the scene's clock. build() turns the description into the SWF tag list, placing each
// object once and then only moving or recolouring it.
class Scene {
public:
    struct Object {
        int index = -1;
    };
    // Colour of an object: each channel c becomes c · mult + add (0..255), like a colour transform.
    struct Tint {
        double mult[4] = {1, 1, 1, 1};  // r g b a
        double add[4] = {0, 0, 0, 0};
        bool operator==(const Tint&) const = default;
    };
    enum class Ease { Linear, Smooth, In, Out };

    Scene(int width, int height, QColor background, double fps = 12);

    int width() const { return width_; }
    int height() const { return height_; }
    double fps() const { return fps_; }

    // Characters.
    int define(const art::Art& drawing);
    // Places a character (or a new drawing) at the clock; objects placed later lie above
    // earlier ones unless a layer says otherwise (higher layers above lower ones).
    Object put(int character, QPointF at = {}, int layer = 1);
    Object put(const art::Art& drawing, QPointF at = {}, int layer = 1);
    void setName(Object o, const QByteArray& name);
    QByteArray name(Object o) const;

    // The clock, in frames.
    int now() const { return now_; }
    void setNow(int frame) { now_ = frame; }
    void wait(double seconds) { now_ += frames(seconds); }
    void waitFrames(int n) { now_ += n; }
    int frames(double seconds) const;

    // Verbs: from the clock on, over `seconds` (0: at once). The clock does not move.
    void moveTo(Object o, QPointF at, double seconds, Ease ease = Ease::Smooth);
    void transformTo(Object o, const QTransform& t, double seconds, Ease ease = Ease::Smooth);
    void fadeTo(Object o, double alpha, double seconds, Ease ease = Ease::Linear);
    void tintTo(Object o, const Tint& tint, double seconds, Ease ease = Ease::Linear);
    // Scales about a fixed point of the drawing (a level rising from the bottom of a tube).
    void scaleTo(Object o, double sx, double sy, QPointF anchor, double seconds,
                 Ease ease = Ease::Smooth);
    void setAlpha(Object o, int frame, double alpha);
    void remove(Object o);  // at the clock

    // Frame actions and labels.
    void play(int frame);
    void stop(int frame);
    void label(int frame, const QByteArray& name);
    // The movie ends with the frame at the clock (it becomes the last frame).
    void end();
    int frameCount() const { return frameCount_; }

    // Where an object is at a frame, and whether it is on show.
    QTransform transformAt(Object o, int frame) const;
    double alphaAt(Object o, int frame) const;
    bool presentAt(Object o, int frame) const;
    // Every object put so far (Object{0} to Object{objectCount() - 1}), and where its drawing
    // lies on the stage at a frame.
    int objectCount() const { return int(tracks_.size()); }
    QRectF boundsAt(Object o, int frame) const;

    // Texts, with their markup and outline bounds as drawn, so that a check can look for
    // labels that collide with each other or leave the stage.
    struct TextNote {
        Object object;
        QString markup;
        QRectF bounds;
    };
    void noteText(Object o, const QString& markup, const QRectF& bounds);
    const std::vector<TextNote>& texts() const { return texts_; }

    swf::Movie build() const;
    // Paints a frame with QPainter, for looking at a movie before any player exists.
    QImage preview(int frame) const;

private:
    struct Track {
        int character = 0;
        int depth = 0;
        QByteArray name;
        std::map<int, bool> present;
        std::map<int, QTransform> transform;
        std::map<int, Tint> tint;
    };
    template <class T>
    static T valueAt(const std::map<int, T>& track, int frame, T fallback);
    Tint tintAt(const Track& t, int frame) const;
    bool isStatic(const Track& t) const;
    static double eased(double s, Ease ease);
    void touch(int frame);

    int width_, height_;
    QColor background_;
    double fps_;
    int now_ = 0;
    int frameCount_ = 1;
    std::vector<art::Art> characters_;
    std::vector<Track> tracks_;
    std::map<int, int> nextDepth_;
    std::map<int, std::vector<swf::Action>> actions_;
    std::map<int, QByteArray> labels_;
    std::vector<TextNote> texts_;
};
