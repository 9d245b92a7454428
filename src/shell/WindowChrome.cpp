#include "shell/WindowChrome.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <optional>

#include "toolkit/Colors.h"
#include "toolkit/LabWindow.h"
#include "toolkit/LinkLabel.h"
#include "toolkit/Picture.h"

void paintCloseGlyph(QPainter& p) {
    p.save();
    p.fillRect(QRectF(0, 0, 13, 13), Qt::white);
    p.setPen(QPen(QColor(0x9a, 0x9a, 0x9a), 1));
    p.drawRect(QRectF(0.5, 0.5, 12, 12));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0xd0, 0x10, 0x10), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3.5, 3.5), QPointF(9.5, 9.5));
    p.drawLine(QPointF(9.5, 3.5), QPointF(3.5, 9.5));
    p.restore();
}

QImage closeGlyphImage() {
    QImage img(13, 13, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&img);
    paintCloseGlyph(p);
    return img;
}

namespace {
// Remembers the screen position of the mouse move the background is about to report. The drag
// works from it rather than from the position inside the picture: the window moves under the
// pointer, and a move still queued from before the window's last step is measured from where
// the window was, which would make it jump back and forth.
//
// It also keeps the drag of its background: where the press was, and whether a button is held.
class PointerOnScreen : public QObject {
public:
    QPoint dragOrigin;
    bool dragging = false;

    explicit PointerOnScreen(QWidget* target) : QObject(target) {
        target->installEventFilter(this);
    }
    // The screen position of the move reported at (x, y), if that move came from the window
    // system.
    std::optional<QPoint> take(int x, int y) {
        std::optional<QPoint> p;
        if (pending_ && local_ == QPoint(x, y)) p = pending_;
        pending_.reset();
        return p;
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == parent() && event->type() == QEvent::MouseMove) {
            const auto* move = static_cast<QMouseEvent*>(event);
            local_ = move->position().toPoint();
            pending_ = move->globalPosition().toPoint();
        }
        return false;
    }

private:
    QPoint local_;
    std::optional<QPoint> pending_;
};

// Moves the window so that the press point of the background is at (x, y) of the background
// as it stands now, or under the pointer's screen position when that is known.
void dragWindow(LabWindow* window, Picture* background, QPoint origin, int x, int y,
                std::optional<QPoint> pointer) {
    if (!pointer) {
        window->move(window->pos() + QPoint(x, y) - origin);
        return;
    }
    // pos() is the outer corner; a borderless window has no frame, but keep the two apart.
    const QPoint frame = window->geometry().topLeft() - window->pos();
    const QPoint clientTopLeft = *pointer - origin - background->mapTo(window, QPoint(0, 0));
    window->move(clientTopLeft - frame);
}
}  // namespace

void attachBorderlessChrome(const BorderlessChrome& c) {
    LabWindow* window = c.window;
    Picture* background = c.background;
    Picture* glyph = c.glyph;
    const QList<LinkLabel*> links = c.links;
    const bool drag = c.drag && window && background;

    for (LinkLabel* l : links) {
        l->setFontColor(LabColors::Black);
        QObject::connect(l, &LinkLabel::mouseMove, l,
                         [l](int, int) { l->setFontColor(LabColors::Red); });
    }

    if (background) {
        // Any button starts a drag. The release of the button ends it wherever it happens,
        // since the background keeps the mouse from the press to the release.
        auto* pointer = drag ? new PointerOnScreen(background) : nullptr;
        if (pointer) {
            QObject::connect(background, &Picture::mouseDown, pointer,
                             [pointer](Qt::MouseButton, int x, int y) {
                                 pointer->dragOrigin = QPoint(x, y);
                                 pointer->dragging = true;
                             });
            QObject::connect(background, &Picture::mouseUp, pointer,
                             [pointer](Qt::MouseButton, int, int) { pointer->dragging = false; });
        }
        QObject::connect(
            background, &Picture::mouseMove, background,
            [window, background, glyph, links, pointer](int x, int y) {
                const std::optional<QPoint> onScreen = pointer ? pointer->take(x, y) : std::nullopt;
                for (LinkLabel* l : links) l->setFontColor(LabColors::Black);
                if (glyph) glyph->hide();
                if (pointer && pointer->dragging)
                    dragWindow(window, background, pointer->dragOrigin, x, y, onScreen);
            });
    }

    if (background && background->accessibleName().isEmpty())
        background->setAccessibleName(QStringLiteral("Фон окна"));
    if (c.spot && c.spot->accessibleName().isEmpty())
        c.spot->setAccessibleName(QStringLiteral("Угол с крестиком закрытия"));
    if (glyph) {
        // Drawn, not stored: sharp at any screen scale.
        glyph->setDrawing(QSize(13, 13), paintCloseGlyph);
        glyph->setProperty("labButton", true);
        glyph->setAccessibleName(QStringLiteral("Закрыть окно"));
        glyph->hide();
        if (c.spot)
            QObject::connect(c.spot, &Picture::mouseMove, glyph,
                             [glyph](int, int) { glyph->show(); });
        if (c.glyphClicked) QObject::connect(glyph, &Picture::clicked, glyph, c.glyphClicked);
    }
    if (c.escapeCloses && c.glyphClicked && window) {
        auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
        QObject::connect(escape, &QShortcut::activated, window, c.glyphClicked);
    }
}

namespace {
// Sends the mouse moves of a plain widget (a window's own client area) to a callback.
class MoveWatcher : public QObject {
public:
    MoveWatcher(QWidget* target, std::function<void()> onMove)
        : QObject(target), onMove_(std::move(onMove)) {
        target->setMouseTracking(true);
        target->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseMove && watched == parent()) onMove_();
        return false;
    }

private:
    std::function<void()> onMove_;
};
}  // namespace

void attachToolLink(LinkLabel* link, const QList<QWidget*>& backgrounds) {
    link->setFontColor(LabColors::Grey);
    QObject::connect(link, &LinkLabel::mouseMove, link,
                     [link](int, int) { link->setFontColor(LabColors::Black); });
    for (QWidget* w : backgrounds) {
        if (auto* pic = qobject_cast<Picture*>(w))
            QObject::connect(pic, &Picture::mouseMove, link,
                             [link](int, int) { link->setFontColor(LabColors::Grey); });
        else
            new MoveWatcher(w, [link] { link->setFontColor(LabColors::Grey); });
    }
}
