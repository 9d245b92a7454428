#include "toolkit/StaticText.h"

#include <QAccessible>

#include "toolkit/Accessibility.h"
#include "toolkit/Colors.h"

StaticText::StaticText(QWidget* parent) : QLabel(parent) {
    setAutoFillBackground(true);
    labAccessibility::install();
}

void StaticText::setCaption(const QString& text) {
    const bool changed = text != this->text();
    setText(text);
    if (autoSize_) resize(sizeHint());
    if (changed && !liveLabel_.isEmpty()) {
        QAccessibleEvent nameChanged(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&nameChanged);
    }
}

void StaticText::setLiveLabel(const QString& label) {
    liveLabel_ = label;
    labAccessibility::install();
}

void StaticText::setColors(std::uint32_t textColor, std::uint32_t background) {
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, colorFromBgr(textColor));
    pal.setColor(QPalette::Window, colorFromBgr(background));
    setPalette(pal);
}
