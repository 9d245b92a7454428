#include "app/MainWindow.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLinearGradient>
#include <QPainter>
#include <algorithm>

#include "lab/Clock.h"
#include "lab/Session.h"
#include "movie/MoviePlayer.h"
#include "shell/Layout.h"
#include "shell/Loaders.h"
#include "shell/Navigation.h"
#include "shell/WindowChrome.h"
#include "toolkit/Colors.h"
#include "toolkit/Fonts.h"
#include "toolkit/LinkLabel.h"
#include "toolkit/Picture.h"
#include "toolkit/StaticText.h"

QImage highlightPlateImage(int width, int height) {
    QImage img(width, height, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient fade(0, 0, width, 0);
    fade.setColorAt(0.0, QColor(255, 214, 0));
    fade.setColorAt(0.5, QColor(255, 238, 140));
    fade.setColorAt(1.0, Qt::white);
    p.fillRect(img.rect(), fade);
    return img;
}

namespace {
// The variant chooser's two values per variant: the thiosulfate solution and the acid.
constexpr const char* variantMolarity[] = {"0.1M", "0.05M", "0.1M", "0.05M", "0.2M", "0.2M"};
constexpr const char* variantNormality[] = {"1N", "2N", "1N", "2N", "1N", "2N"};
constexpr int variantCount = int(std::size(variantMolarity));

// Link colours: the chosen experiment and the title in black, the others in light grey.
constexpr std::uint32_t idleLinkColor = LabColors::LightGrey;
constexpr std::uint32_t selectedLinkColor = LabColors::Black;

enum LabelStyle { Plain = 0, Centred = 1, Wrapped = 2 };

LinkLabel* makeLabel(QWidget* parent, const QString& text, const QFont& font, int style = Plain) {
    auto* label = new LinkLabel(text, parent);
    label->setFont(font);
    label->setAlignment(Qt::AlignTop | ((style & Centred) ? Qt::AlignHCenter : Qt::AlignLeft));
    label->setWordWrap(style & Wrapped);
    return label;
}

// A wrapped label grows downwards to show its whole text, as labels sized to their text do.
void growToText(LinkLabel* label) {
    label->resize(label->width(), std::max(label->height(), label->heightForWidth(label->width())));
}

StaticText* makeVariantText(QWidget* parent) {
    auto* text = new StaticText(parent);
    text->setFont(labFont(QStringLiteral("MS Sans Serif"), 15, true));
    text->setColors(LabColors::Navy, LabColors::White);
    text->setAutoSize(true);
    return text;
}
}  // namespace

MainWindow::MainWindow(Session& session, Navigation& navigation, QWidget* parent)
    : LabWindow(QStringLiteral("Реактикум"), QSize(715, 506), Border::None, parent),
      session_(session),
      navigation_(navigation) {
    createControls();
    loadContents();
}

void MainWindow::createControls() {
    const QFont linkFont = labFont(QStringLiteral("Arial Black"), 16, true);
    const QFont smallBold = labFont(QStringLiteral("MS Sans Serif"), 12, true);

    // Bottom to top: each control lies above the ones before it.
    background = new Picture(this);
    experiment4Plate = new Picture(this);
    experiment3Plate = new Picture(this);
    experiment2Plate = new Picture(this);
    experiment1Plate = new Picture(this);
    closeSpot = new Picture(this);
    titleLabel =
        makeLabel(this, QStringLiteral("Скорость химических реакций и химическое равновесие"),
                  labFont(QStringLiteral("MS Sans Serif"), 19, true), Centred | Wrapped);
    experiment1Link = makeLabel(this, QStringLiteral("Опыт 1"), linkFont);
    experiment2Link = makeLabel(this, QStringLiteral("Опыт 2"), linkFont);
    experiment3Link = makeLabel(this, QStringLiteral("Опыт 3"), linkFont);
    experiment4Link = makeLabel(this, QStringLiteral("Опыт 4"), linkFont);
    instructionLabel = makeLabel(this, QStringLiteral("Выберите номер опыта и кликните по нему"),
                                 labFont(QStringLiteral("MS Sans Serif"), 12), Wrapped);
    aboutLink = makeLabel(this, QStringLiteral("О Программе"), smallBold);
    resultsLink = makeLabel(this, QStringLiteral("Результаты"), smallBold);
    closeGlyph = new Picture(this);
    subjectLabel = makeLabel(this, QStringLiteral("х и м и я"), smallBold);
    movie = new MoviePlayer(this);
    variantChooser = new QComboBox(this);
    variantSolutionText = makeVariantText(this);
    variantAcidText = makeVariantText(this);

    placeControls({
        {background, 0, 0, 715, 506},
        {experiment4Plate, 3, 291, 116, 44},
        {experiment3Plate, 3, 246, 116, 44},
        {experiment2Plate, 3, 201, 116, 44},
        {experiment1Plate, 3, 156, 116, 44},
        {closeSpot, 699, 3, 13, 13},
        {titleLabel, 211, 17, 328, 48},
        {experiment1Link, 31, 166, 69, 23},
        {experiment2Link, 31, 211, 69, 23},
        {experiment3Link, 31, 257, 69, 23},
        {experiment4Link, 31, 300, 69, 23},
        {instructionLabel, 12, 398, 93, 39},
        {aboutLink, 605, 57, 82, 13},
        {resultsLink, 605, 74, 71, 13},
        {closeGlyph, 699, 2, 13, 13},
        {subjectLabel, 34, 32, 53, 13},
        {movie, 119, 96, 585, 361},
        {variantChooser, 202, 266, 145, 21},
        {variantSolutionText, 429, 269, 26, 20},
        {variantAcidText, 566, 269, 26, 20},
    });
    growToText(titleLabel);
    growToText(instructionLabel);

    movie->setPlay(true);
    movie->setLoop(true);
    movie->setFocusPolicy(Qt::TabFocus);
    QPalette white = variantChooser->palette();
    white.setColor(QPalette::Base, Qt::white);
    white.setColor(QPalette::Button, Qt::white);
    variantChooser->setPalette(white);
    variantChooser->setEditable(false);
    // The value texts take no focus, so Tab goes from the chooser straight to the movie.
    setTabOrder(variantChooser, movie);
    for (Picture* plate : {experiment1Plate, experiment2Plate, experiment3Plate, experiment4Plate})
        plate->setImage(highlightPlateImage(116, 44));
    for (Picture* plate : {experiment2Plate, experiment3Plate, experiment4Plate}) plate->hide();

    for (int k = 1; k <= 4; ++k) {
        LinkLabel* link = experimentLink(k);
        connect(link, &LinkLabel::mouseMove, this, [this, k](int, int) { chooseExperiment(k); });
        connect(link, &LinkLabel::clicked, this, &MainWindow::onExperimentLinkClicked);
        // Reached with Tab, a link chooses its experiment as the pointer's arrival does.
        connect(link, &LinkLabel::focusedByKeyboard, this, [this, k] { chooseExperiment(k); });
    }
    // Variant first, then the experiment, then the other links.
    QWidget* order[] = {variantChooser,  movie,           experiment1Link, experiment2Link,
                        experiment3Link, experiment4Link, aboutLink,       resultsLink};
    for (int i = 0; i + 1 < int(std::size(order)); ++i) setTabOrder(order[i], order[i + 1]);
    connect(aboutLink, &LinkLabel::clicked, this, &MainWindow::onAboutClicked);
    connect(resultsLink, &LinkLabel::clicked, this, &MainWindow::onResultsClicked);
    // Only a choice the student makes counts, not the selection set below.
    connect(variantChooser, &QComboBox::activated, this, &MainWindow::onVariantChosen);
    for (int k = 1; k <= 4; ++k)
        experimentPlate(k)->setAccessibleName(QStringLiteral("Подсветка «Опыт %1»").arg(k));
    attachBorderlessChrome(
        {this, background, closeGlyph, closeSpot, {aboutLink, resultsLink}, [this] {
             onCloseGlyphClicked();
         }});
}

void MainWindow::loadContents() {
    // The splash stays up at least until the next whole second.
    waitOneSecond();
    for (int n = 1; n <= variantCount; ++n)
        variantChooser->addItem(QStringLiteral("Вариант ") + QString::number(n));
    variantChooser->setCurrentIndex(0);
    variantSolutionText->setCaption(QString::fromLatin1(variantMolarity[0]));
    variantAcidText->setCaption(QString::fromLatin1(variantNormality[0]));
    titleLabel->setFontColor(selectedLinkColor);
    experiment1Link->setFontColor(selectedLinkColor);
    for (LinkLabel* label : {experiment2Link, experiment3Link, experiment4Link, instructionLabel})
        label->setFontColor(idleLinkColor);
    selectedExperiment_ = 1;
    // No keyboard layout is switched here: X11 has no layout of its own per program, so the
    // student types with the Russian layout of the desktop.
    loadMovie(navigation_, movie, QStringLiteral("\\Movie\\1.swf"));
    loadPicture(navigation_, background, QStringLiteral("\\BackGround\\Ground.jpg"));
    registrationShown_ = false;
    session_.setVariant(1);
}

void MainWindow::onActivated() {
    if (registrationShown_) return;
    if (showRegistration) showRegistration();
    registrationShown_ = true;
}

VariantChoice MainWindow::variantChoice() const {
    return {variantChooser->currentIndex() + 1, variantSolutionText->text(),
            variantAcidText->text()};
}

void MainWindow::onVariantChosen(int index) {
    if (index < 0 || index >= variantCount) return;
    variantSolutionText->setCaption(QString::fromLatin1(variantMolarity[index]));
    variantAcidText->setCaption(QString::fromLatin1(variantNormality[index]));
    session_.setVariant(index + 1);
}

LinkLabel* MainWindow::experimentLink(int k) const {
    switch (k) {
        case 1:
            return experiment1Link;
        case 2:
            return experiment2Link;
        case 3:
            return experiment3Link;
        case 4:
            return experiment4Link;
    }
    return nullptr;
}

Picture* MainWindow::experimentPlate(int k) const {
    switch (k) {
        case 1:
            return experiment1Plate;
        case 2:
            return experiment2Plate;
        case 3:
            return experiment3Plate;
        case 4:
            return experiment4Plate;
    }
    return nullptr;
}

void MainWindow::resetExperimentLinks() {
    for (int k = 1; k <= 4; ++k) experimentLink(k)->setFontColor(idleLinkColor);
    for (int k = 1; k <= 4; ++k) experimentPlate(k)->hide();
}

void MainWindow::chooseExperiment(int k) {
    // The choice is sticky: only touching another link changes it, so nothing repaints while
    // the pointer stays on the chosen one.
    if (selectedExperiment_ == k) return;
    resetExperimentLinks();
    experimentLink(k)->setFontColor(selectedLinkColor);
    experimentPlate(k)->show();
    selectedExperiment_ = k;
}

void MainWindow::onExperimentLinkClicked() {
    const bool entered = enterExperiment && enterExperiment(selectedExperiment_);
    // Never leave the student without a visible window.
    if (entered) hide();
}

void MainWindow::onAboutClicked() {
    if (showAbout) showAbout();
}

void MainWindow::onResultsClicked() {
    if (showResults) showResults();
}

void MainWindow::onCloseGlyphClicked() {
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    navigation_.endProgram();
}
