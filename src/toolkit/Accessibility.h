#pragma once

#include <QAccessible>
#include <QString>

class QWidget;

// What screen readers are told about the toolkit's controls. The interfaces are installed
// once per process (the controls do it when first created):
//  - a link label is a link named by its visible text, with a press action that clicks it;
//  - a picture is an image named by its accessible name (a clickable one, the close glyph,
//    is a button);
//  - everything else keeps Qt's own interface.
namespace labAccessibility {
void install();

// The name and role a screen reader gets for a widget, as the tests list them.
QString nameOf(QWidget* widget);
QAccessible::Role roleOf(QWidget* widget);
QString roleName(QAccessible::Role role);
}  // namespace labAccessibility
