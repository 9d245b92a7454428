#pragma once

#include <QProxyStyle>

// Sets the answers of the direction groups, "-->" and "<--", as the arrows they stand for: a
// drawn shaft with a head, in the label's colour and weight, where the text would stand. The
// buttons keep their texts; only the way they are typeset changes.
class DirectionArrowStyle : public QProxyStyle {
public:
    DirectionArrowStyle();

    // Whether a button text is one of the two answers this style draws as an arrow.
    static bool isArrowText(const QString& text);

    void drawItemText(QPainter* painter, const QRect& rect, int flags, const QPalette& palette,
                      bool enabled, const QString& text,
                      QPalette::ColorRole textRole = QPalette::NoRole) const override;
};
