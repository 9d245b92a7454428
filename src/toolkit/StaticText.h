#pragma once

#include <QLabel>
#include <cstdint>

// A static text with its own background colour; optionally sizes itself to its text.
class StaticText : public QLabel {
    Q_OBJECT
public:
    explicit StaticText(QWidget* parent = nullptr);
    void setAutoSize(bool autoSize) { autoSize_ = autoSize; }
    void setCaption(const QString& text);
    QString caption() const { return text(); }
    void setColors(std::uint32_t textColor, std::uint32_t background);
    // A text that changes by itself (a stopwatch display): screen readers hear it as
    // "label: text" each time it changes.
    void setLiveLabel(const QString& label);
    QString liveLabel() const { return liveLabel_; }

private:
    bool autoSize_ = false;
    QString liveLabel_;
};
