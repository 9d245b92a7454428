#include "shell/AboutWindow.h"

#include <QLinearGradient>
#include <QPainter>
#include <algorithm>

#include "movie/MoviePlayer.h"
#include "shell/Loaders.h"
#include "shell/WindowChrome.h"
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

TForm3::TForm3(QWidget* parent)
    : LabWindow(QStringLiteral("О программе"), QSize(360, 151), Border::Tool, parent) {
    // Bottom to top.
    Image1 = new Picture(this);
    Image1->setGeometry(117, 0, 243, 153);
    Image1->setImage(aboutBackgroundImage(243, 153));
    Flash1 = new MoviePlayer(this);
    Flash1->setGeometry(0, 0, 117, 151);
    Flash1->setPlay(true);
    Flash1->setLoop(true);
    Label3 = addCredit(this, {123, 4, 163, 13}, QStringLiteral("Виртуальная лаборатория по химии"),
                       false);
    Label1 = addCredit(this, {123, 21, 118, 16}, QStringLiteral("«Реактикум»"), true);
    Label8 = addCredit(this, {123, 37, 119, 13}, QStringLiteral("версия для Linux"), false);
    Label2 =
        addCredit(this, {123, 52, 230, 16}, QStringLiteral("Скорость химических реакций"), true);
    Label6 = addCredit(this, {123, 69, 144, 13}, QStringLiteral("и химическое равновесие"), false);
    Label4 = addCredit(this, {123, 90, 71, 13}, QStringLiteral("Разработка:"), false);
    Label5 =
        addCredit(this, {123, 104, 223, 16}, QStringLiteral("Команда проекта «Реактикум»"), true);
    Label7 = addCredit(this, {123, 136, 56, 26}, QStringLiteral("2026 год"), false);
    Label9 = new LinkLabel(QStringLiteral("ОК"), this);
    Label9->setGeometry(325, 128, 27, 23);
    Label9->setFont(labFont(QStringLiteral("Arial Black"), 16, true));
    Label9->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    attachToolLink(Label9, {Image1});
    connect(Label9, &LinkLabel::clicked, this, &TForm3::Label9Click);
    FormCreate();
}

void TForm3::FormCreate() {
    LoadMovie(Flash1, QStringLiteral("\\BackGround\\About.swf"));
}

void TForm3::Label9Click() {
    closeForm();
}
