#include "app/AboutWindow.h"

#include <QLinearGradient>
#include <QPainter>
#include <algorithm>

#include "movie/MoviePlayer.h"
#include "shell/DialogKeys.h"
#include "shell/Layout.h"
#include "shell/Loaders.h"
#include "shell/WindowChrome.h"
#include "toolkit/Fonts.h"
#include "toolkit/LinkLabel.h"
#include "toolkit/Picture.h"

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
struct Credit {
    QString text;
    bool arialBold;
    QRect place;
};

QList<Credit> creditLines() {
    // The version is the package's, set once in the build (LAB_VERSION).
    const QString edition = QStringLiteral("версия %1 для Linux").arg(QStringLiteral(LAB_VERSION));
    return {
        {QStringLiteral("Виртуальная лаборатория по химии"), false, {123, 4, 163, 13}},
        {QStringLiteral("«Реактикум»"), true, {123, 21, 118, 16}},
        {edition, false, {123, 37, 119, 13}},
        {QStringLiteral("Скорость химических реакций"), true, {123, 52, 230, 16}},
        {QStringLiteral("и химическое равновесие"), false, {123, 69, 144, 13}},
        {QStringLiteral("Разработка:"), false, {123, 90, 71, 13}},
        {QStringLiteral("Команда проекта «Реактикум»"), true, {123, 104, 223, 16}},
        {QStringLiteral("2026 год"), false, {123, 136, 56, 26}},
    };
}

// A credit line never wraps away its last word: the label is at least as wide as its text.
LinkLabel* makeCredit(QWidget* parent, const Credit& credit) {
    auto* label = new LinkLabel(credit.text, parent);
    if (credit.arialBold) label->setFont(labFont(QStringLiteral("Arial"), 13, true));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    label->setGeometry(credit.place);
    const int textWidth = label->fontMetrics().horizontalAdvance(label->text()) + 1;
    label->resize(std::max(label->width(), textWidth), label->height());
    return label;
}
}  // namespace

AboutWindow::AboutWindow(Navigation& navigation, QWidget* parent)
    : LabWindow(QStringLiteral("О программе"), QSize(360, 151), Border::Tool, parent) {
    // Bottom to top.
    background = new Picture(this);
    background->setImage(aboutBackgroundImage(243, 153));
    movie = new MoviePlayer(this);
    movie->setPlay(true);
    movie->setLoop(true);
    for (const Credit& credit : creditLines()) credits << makeCredit(this, credit);
    okLink = new LinkLabel(QStringLiteral("ОК"), this);
    okLink->setFont(labFont(QStringLiteral("Arial Black"), 16, true));
    okLink->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    placeControls({
        {background, 117, 0, 243, 153},
        {movie, 0, 0, 117, 151},
        {okLink, 325, 128, 27, 23},
    });
    background->setAccessibleName(QStringLiteral("Фон окна «О программе»"));

    attachToolLink(okLink, {background});
    connect(okLink, &LinkLabel::clicked, this, &AboutWindow::onOkClicked);
    attachDialogKeys(this, {[this] { onOkClicked(); }, [this] { onOkClicked(); }});
    loadContents(navigation);
}

void AboutWindow::loadContents(Navigation& navigation) {
    loadMovie(navigation, movie, QStringLiteral("\\BackGround\\About.swf"));
}

void AboutWindow::onOkClicked() {
    done();
}
