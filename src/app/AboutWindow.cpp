#include "app/AboutWindow.h"

#include <QLinearGradient>
#include <QPainter>
#include <algorithm>

#include "core/Loaders.h"
#include "core/WindowChrome.h"
#include "movie/MoviePlayer.h"
#include "toolkit/Controls.h"
#include "toolkit/Fonts.h"

QImage aboutBackgroundImage(int width, int height) {
    QImage img(width, height, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient fade(0, 0, width, 0);
    fade.setColorAt(0.0, Qt::white);
    fade.setColorAt(1.0, QColor(255, 236, 120));
    p.fillRect(img.rect(), fade);
    p.setPen(QColor(90, 80, 40));
    p.drawLine(6, height - 28, width - 7, height - 28);
    return img;
}

namespace {
LinkLabel* addCredit(QWidget* parent, const QRect& bounds, const QString& text, bool arialBold) {
    auto* label = new LinkLabel(text, parent);
    if (arialBold) label->setFont(labFont(QStringLiteral("Arial"), 13, true));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    // A line never wraps away its last word: the label is at least as wide as its text.
    const int textWidth = label->fontMetrics().horizontalAdvance(text) + 1;
    label->setGeometry(bounds.adjusted(0, 0, std::max(0, textWidth - bounds.width()), 0));
    return label;
}
}  // namespace

AboutWindow::AboutWindow(QWidget* parent)
    : LabWindow(QStringLiteral("О программе"), QSize(360, 151), Border::Tool, parent) {
    // Bottom to top.
    background = new Picture(this);
    background->setGeometry(117, 0, 243, 153);
    background->setImage(aboutBackgroundImage(243, 153));
    movie = new MoviePlayer(this);
    movie->setGeometry(0, 0, 117, 151);
    movie->setPlay(true);
    movie->setLoop(true);
    subtitleLabel = addCredit(this, {123, 4, 163, 13},
                              QStringLiteral("Виртуальная лаборатория по химии"), false);
    productLabel = addCredit(this, {123, 21, 118, 16}, QStringLiteral("«Реактикум»"), true);
    editionLabel = addCredit(this, {123, 37, 119, 13}, QStringLiteral("версия для Linux"), false);
    topicLabel =
        addCredit(this, {123, 52, 230, 16}, QStringLiteral("Скорость химических реакций"), true);
    topicSecondLine =
        addCredit(this, {123, 69, 144, 13}, QStringLiteral("и химическое равновесие"), false);
    developerHeading = addCredit(this, {123, 90, 71, 13}, QStringLiteral("Разработка:"), false);
    developerLabel =
        addCredit(this, {123, 104, 223, 16}, QStringLiteral("Команда проекта «Реактикум»"), true);
    yearLabel = addCredit(this, {123, 136, 56, 26}, QStringLiteral("2026 год"), false);
    okLink = new LinkLabel(QStringLiteral("ОК"), this);
    okLink->setGeometry(325, 128, 27, 23);
    okLink->setFont(labFont(QStringLiteral("Arial Black"), 16, true));
    okLink->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    background->setAccessibleName(QStringLiteral("Фон окна «О программе»"));
    attachToolLink(okLink, {background});
    connect(okLink, &LinkLabel::clicked, this, &AboutWindow::onOkClicked);
    loadContents();
}

void AboutWindow::loadContents() {
    loadMovie(movie, QStringLiteral("\\BackGround\\About.swf"));
}

void AboutWindow::onOkClicked() {
    closeForm();
}
