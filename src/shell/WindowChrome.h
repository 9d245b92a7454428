#pragma once

#include <QImage>
#include <QList>
#include <functional>

class LabWindow;
class LinkLabel;
class Picture;
class QWidget;

class QPainter;

// The 13 × 13 red cross that closes a borderless window, drawn in window pixels at whatever
// resolution the painter has, and as an image.
void paintCloseGlyph(QPainter& p);
QImage closeGlyphImage();

// What every borderless window shares: dragging by the background picture (any button; the
// press point stays under the pointer), the close glyph that shows over the corner spot, and
// link labels that turn red under the pointer and black again over the background.
//
// The graph window uses the same link colouring over its background strip without the rest:
// it leaves glyph and spot empty and sets drag to false.
struct BorderlessChrome {
    LabWindow* window = nullptr;
    Picture* background = nullptr;  // drag handle
    Picture* glyph = nullptr;       // the close glyph, hidden until the pointer reaches the spot
    Picture* spot = nullptr;        // where the close glyph appears
    QList<LinkLabel*> links;        // coloured red under the pointer, black over the background
    std::function<void()> glyphClicked;
    bool drag = true;           // a press on the background drags the window
    bool escapeCloses = false;  // Escape does what a click on the glyph does
};
void attachBorderlessChrome(const BorderlessChrome& chrome);

// Small tool windows: the link is grey at rest, black under the pointer, grey again when the
// pointer moves over any of the given background widgets.
void attachToolLink(LinkLabel* link, const QList<QWidget*>& backgrounds);
