#include "experiments/ExperimentWindowParts.h"

#include <QLabel>
#include <QPushButton>

#include "core/Program.h"
#include "core/WindowChrome.h"
#include "toolkit/Colors.h"
#include "toolkit/Fonts.h"
#include "toolkit/LabWindow.h"
#include "toolkit/LinkLabel.h"
#include "toolkit/Picture.h"

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

LinkLabel* makeLinkLabel(QWidget* parent, const QString& text) {
    auto* link = new LinkLabel(text, parent);
    link->setFont(labFont(QStringLiteral("Arial Black"), 16, true));
    link->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    link->setFontColor(LabColors::Black);
    return link;
}

QPushButton* makeButton(QWidget* parent, const QString& text, bool arialBold) {
    auto* button = new QPushButton(text, parent);
    if (arialBold) button->setFont(labFont(QStringLiteral("Arial"), 13, true));
    return button;
}

void attachExperimentChrome(LabWindow* window, Picture* background, Picture* glyph, Picture* spot,
                            LinkLabel* next, LinkLabel* finish) {
    BorderlessChrome chrome;
    chrome.window = window;
    chrome.background = background;
    chrome.glyph = glyph;
    chrome.spot = spot;
    chrome.links = {next, finish};
    chrome.glyphClicked = [window] { returnToMainWindow(window); };
    chrome.escapeCloses = true;
    attachBorderlessChrome(chrome);
    window->setCloseRequestHandler([window] { returnToMainWindow(window); });
}

void returnToMainWindow(LabWindow* window) {
    showMainWindow();
    window->closeForm();
}
