#include "shell/WindowChrome.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

#include "shell/LabState.h"
#include "toolkit/Colors.h"
#include "toolkit/Controls.h"
#include "toolkit/LabWindow.h"

QImage closeGlyphImage() {
    QImage img(13, 13, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x9a, 0x9a, 0x9a), 1));
    p.drawRect(QRectF(0.5, 0.5, 12, 12));
    p.setPen(QPen(QColor(0xd0, 0x10, 0x10), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3.5, 3.5), QPointF(9.5, 9.5));
    p.drawLine(QPointF(9.5, 3.5), QPointF(3.5, 9.5));
    return img;
}

void attachBorderlessChrome(const BorderlessChrome& c) {
    LabWindow* window = c.window;
    Picture* glyph = c.glyph;
    const QList<LinkLabel*> links = c.links;

    QObject::connect(c.background, &Picture::mouseDown, window, [](Qt::MouseButton, int x, int y) {
        LabState.DragOriginX = x;
        LabState.DragOriginY = y;
        LabState.Dragging = true;
    });
    QObject::connect(c.background, &Picture::mouseMove, window, [window, glyph, links](int x, int y) {
        for (LinkLabel* l : links) l->setFontColor(LabColors::Black);
        if (glyph) glyph->hide();
        if (LabState.Dragging) {
            window->move(window->x() + x - LabState.DragOriginX, window->y());
            window->move(window->x(), window->y() + y - LabState.DragOriginY);
        }
    });
    QObject::connect(c.background, &Picture::mouseUp, window,
                     [](Qt::MouseButton, int, int) { LabState.Dragging = false; });
    for (LinkLabel* l : links)
        QObject::connect(l, &LinkLabel::mouseMove, window,
                         [l](int, int) { l->setFontColor(LabColors::Red); });
    if (glyph) {
        glyph->setImage(closeGlyphImage());
        glyph->hide();
        if (c.spot) QObject::connect(c.spot, &Picture::mouseMove, window, [glyph](int, int) { glyph->show(); });
        if (c.glyphClicked) QObject::connect(glyph, &Picture::clicked, window, c.glyphClicked);
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
