#include "experiments/common/ExperimentChrome.h"

#include <QLabel>
#include <QPushButton>

#include "experiments/common/MovieEndWatch.h"
#include "movie/MoviePlayer.h"
#include "shell/Layout.h"
#include "shell/WindowChrome.h"
#include "toolkit/Colors.h"
#include "toolkit/Fonts.h"
#include "toolkit/LabWindow.h"
#include "toolkit/LinkLabel.h"
#include "toolkit/Picture.h"
#include "toolkit/SingleClick.h"

namespace {
// A transparent title label in Arial bold; the long title is centred and word-wrapped.
QLabel* makeTitleLabel(QWidget* parent, const QString& text, int pixelSize, bool centredWrapped) {
    auto* label = new QLabel(text, parent);
    label->setFont(labFont(QStringLiteral("Arial"), pixelSize, true));
    label->setAttribute(Qt::WA_TranslucentBackground);
    if (centredWrapped) {
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        label->setWordWrap(true);
    } else {
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    return label;
}

// "Далее" and "Закончить опыт": Arial Black 16 px, black at rest.
LinkLabel* makeLinkLabel(QWidget* parent, const QString& text) {
    auto* link = new LinkLabel(text, parent);
    link->setFont(labFont(QStringLiteral("Arial Black"), 16, true));
    link->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    link->setFontColor(LabColors::Black);
    return link;
}
}  // namespace

void ExperimentChrome::createChrome(LabWindow* window, const QString& number, const QString& topic,
                                    std::function<void()> atMovieEnd, std::function<void()> leave) {
    background = new Picture(window);
    numberTitle = makeTitleLabel(window, number, 21, false);
    topicTitle = makeTitleLabel(window, topic, 19, true);
    nextLink = makeLinkLabel(window, QStringLiteral("Далее"));
    finishLink = makeLinkLabel(window, QStringLiteral("Закончить опыт"));
    closeSpot = new Picture(window);
    closeGlyph = new Picture(window);
    movie = new MoviePlayer(window);
    movieEndWatch = new MovieEndWatch(movie, std::move(atMovieEnd), window);

    placeControls({
        {background, 0, 0, 715, 505},
        {numberTitle, 15, 6, 74, 24},
        {nextLink, 11, 461, 62, 23},
        {finishLink, 290, 461, 158, 23},
        {closeSpot, 698, 3, 13, 13},
        {closeGlyph, 699, 2, 13, 13},
    });

    // Dragging by the background, the close glyph over the top-right spot (it leaves, and so
    // do Escape and a close from the window manager) and the red hover of the two links.
    BorderlessChrome chrome;
    chrome.window = window;
    chrome.background = background;
    chrome.glyph = closeGlyph;
    chrome.spot = closeSpot;
    chrome.links = {nextLink, finishLink};
    chrome.glyphClicked = leave;
    chrome.escapeCloses = true;
    attachBorderlessChrome(chrome);
    window->setCloseRequestHandler(std::move(leave));
}

QPushButton* makeButton(QWidget* parent, const QString& text, bool arialBold) {
    auto* button = new QPushButton(text, parent);
    actOncePerDoubleClick(button);
    if (arialBold) button->setFont(labFont(QStringLiteral("Arial"), 13, true));
    return button;
}

void beginTubeReaction(MoviePlayer* movie) {
    const int acidIn = movie->labelledFrame(QByteArrayLiteral("acid"));
    if (acidIn >= 0 && movie->currentFrame() != acidIn) movie->goToFrame(acidIn);
}

void endTubeReaction(MoviePlayer* movie) {
    movie->stop();
}
