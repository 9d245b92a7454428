#include "shell/MainWindow.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLinearGradient>
#include <QPainter>
#include <algorithm>

#include "concentration/ConcentrationWindow.h"
#include "experiments/CatalystWindow.h"
#include "experiments/EquilibriumWindow.h"
#include "experiments/TemperatureWindow.h"
#include "movie/MoviePlayer.h"
#include "shell/AboutWindow.h"
#include "shell/Forms.h"
#include "shell/Helpers.h"
#include "shell/LabState.h"
#include "shell/Loaders.h"
#include "shell/Program.h"
#include "shell/WindowChrome.h"
#include "students/RegistrationWindow.h"
#include "students/ResultsWindow.h"
#include "toolkit/Colors.h"
#include "toolkit/Controls.h"
#include "toolkit/Fonts.h"

const QStringList VariantMolarity = {QStringLiteral("0.1M"), QStringLiteral("0.05M"),
                                     QStringLiteral("0.1M"), QStringLiteral("0.05M"),
                                     QStringLiteral("0.2M"), QStringLiteral("0.2M")};
const QStringList VariantNormality = {QStringLiteral("1N"), QStringLiteral("2N"),
                                      QStringLiteral("1N"), QStringLiteral("2N"),
                                      QStringLiteral("1N"), QStringLiteral("2N")};

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
enum LabelStyle { Plain = 0, Centred = 1, Wrapped = 2 };

Picture* addPicture(QWidget* parent, const QRect& bounds) {
    auto* picture = new Picture(parent);
    picture->setGeometry(bounds);
    return picture;
}

LinkLabel* addLabel(QWidget* parent, const QRect& bounds, const QString& text, const QFont& font,
                    int style = Plain) {
    auto* label = new LinkLabel(text, parent);
    label->setGeometry(bounds);
    label->setFont(font);
    label->setAlignment(Qt::AlignTop | ((style & Centred) ? Qt::AlignHCenter : Qt::AlignLeft));
    label->setWordWrap(style & Wrapped);
    // A wrapped label grows downwards to show its whole text, as labels sized to their text do.
    if (style & Wrapped)
        label->resize(bounds.width(),
                      std::max(bounds.height(), label->heightForWidth(bounds.width())));
    return label;
}

StaticText* addVariantText(QWidget* parent, QPoint topLeft) {
    auto* text = new StaticText(parent);
    text->setGeometry(QRect(topLeft, QSize(26, 20)));
    text->setFont(labFont(QStringLiteral("MS Sans Serif"), 15, true));
    text->setColors(LabColors::Navy, LabColors::White);
    text->setAutoSize(true);
    return text;
}
}  // namespace

TForm1::TForm1(QWidget* parent)
    : LabWindow(QStringLiteral("Реактикум"), QSize(715, 506), Border::None, parent) {
    createControls();
    FormCreate();
}

void TForm1::createControls() {
    const QFont linkFont = labFont(QStringLiteral("Arial Black"), 16, true);
    const QFont smallBold = labFont(QStringLiteral("MS Sans Serif"), 12, true);

    // Bottom to top: each control lies above the ones before it.
    Image1 = addPicture(this, {0, 0, 715, 506});
    Image7 = addPicture(this, {3, 291, 116, 44});
    Image6 = addPicture(this, {3, 246, 116, 44});
    Image5 = addPicture(this, {3, 201, 116, 44});
    Image4 = addPicture(this, {3, 156, 116, 44});
    Image3 = addPicture(this, {699, 3, 13, 13});
    Label3 = addLabel(this, {211, 17, 328, 48},
                      QStringLiteral("Скорость химических реакций и химическое равновесие"),
                      labFont(QStringLiteral("MS Sans Serif"), 19, true), Centred | Wrapped);
    Label2 = addLabel(this, {31, 166, 69, 23}, QStringLiteral("Опыт 1"), linkFont);
    Label11 = addLabel(this, {31, 211, 69, 23}, QStringLiteral("Опыт 2"), linkFont);
    Label12 = addLabel(this, {31, 257, 69, 23}, QStringLiteral("Опыт 3"), linkFont);
    Label13 = addLabel(this, {31, 300, 69, 23}, QStringLiteral("Опыт 4"), linkFont);
    Label15 =
        addLabel(this, {12, 398, 93, 39}, QStringLiteral("Выбирите номер опыта и кликните по нему"),
                 labFont(QStringLiteral("MS Sans Serif"), 12), Wrapped);
    Label16 = addLabel(this, {605, 57, 82, 13}, QStringLiteral("О Программе"), smallBold);
    Label1 = addLabel(this, {605, 74, 71, 13}, QStringLiteral("Результаты"), smallBold);
    Image2 = addPicture(this, {699, 2, 13, 13});
    Label4 = addLabel(this, {34, 32, 53, 13}, QStringLiteral("х и м и я"), smallBold);
    Flash1 = new MoviePlayer(this);
    Flash1->setGeometry(119, 96, 585, 361);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setGeometry(202, 266, 145, 21);
    StaticText1 = addVariantText(this, {429, 269});
    StaticText2 = addVariantText(this, {566, 269});

    Flash1->setPlay(true);
    Flash1->setLoop(true);
    Flash1->setFocusPolicy(Qt::TabFocus);
    QPalette white = ComboBox1->palette();
    white.setColor(QPalette::Base, Qt::white);
    white.setColor(QPalette::Button, Qt::white);
    ComboBox1->setPalette(white);
    ComboBox1->setEditable(false);
    // The value texts take no focus, so Tab goes from the chooser straight to the movie.
    setTabOrder(ComboBox1, Flash1);
    for (Picture* plate : {Image4, Image5, Image6, Image7})
        plate->setImage(highlightPlateImage(116, 44));
    for (Picture* plate : {Image5, Image6, Image7}) plate->hide();

    for (int k = 1; k <= 4; ++k) {
        LinkLabel* link = experimentLink(k);
        connect(link, &LinkLabel::mouseMove, this,
                [this, k](int, int) { experimentLinkMouseMove(k); });
        connect(link, &LinkLabel::clicked, this, &TForm1::Label14Click);
    }
    connect(Label16, &LinkLabel::clicked, this, &TForm1::Label16Click);
    connect(Label1, &LinkLabel::clicked, this, &TForm1::Label1Click);
    // Only a choice the student makes counts, not the selection set below.
    connect(ComboBox1, &QComboBox::activated, this, &TForm1::ComboBox1Select);
    attachBorderlessChrome(
        {this, Image1, Image2, Image3, {Label16, Label1}, [this] { Image2Click(); }});
}

void TForm1::FormCreate() {
    LabState.LinkColors.Idle = LabColors::LightGrey;
    LabState.LinkColors.Selected = LabColors::Black;
    // The splash stays up at least until the next whole second.
    WaitOneSecond();
    for (int n = 1; n <= 6; ++n)
        ComboBox1->addItem(QStringLiteral("Вариант ") + QString::number(n));
    ComboBox1->setCurrentIndex(0);
    StaticText1->setCaption(VariantMolarity[0]);
    StaticText2->setCaption(VariantNormality[0]);
    Label3->setFontColor(LabState.LinkColors.Selected);
    Label2->setFontColor(LabState.LinkColors.Selected);
    for (LinkLabel* label : {Label11, Label12, Label13, Label15})
        label->setFontColor(LabState.LinkColors.Idle);
    LabState.SelectedExperiment = 1;
    // No keyboard layout is switched here: X11 has no layout of its own per program, so the
    // student types with the Russian layout of the desktop.
    LoadMovie(Flash1, QStringLiteral("\\Movie\\1.swf"));
    LoadPicture(Image1, QStringLiteral("\\BackGround\\Ground.jpg"));
    LabState.RegistrationShown = false;
    LabState.VariantNumber = 1;
}

void TForm1::FormActivate() {
    if (LabState.RegistrationShown) return;
    if (Form11) Form11->showModalForm();
    LabState.RegistrationShown = true;
}

void TForm1::ComboBox1Select(int index) {
    if (index < 0 || index >= VariantMolarity.size()) return;
    StaticText1->setCaption(VariantMolarity[index]);
    StaticText2->setCaption(VariantNormality[index]);
    LabState.VariantNumber = index + 1;
}

LinkLabel* TForm1::experimentLink(int k) const {
    switch (k) {
        case 1:
            return Label2;
        case 2:
            return Label11;
        case 3:
            return Label12;
        case 4:
            return Label13;
    }
    return nullptr;
}

Picture* TForm1::experimentPlate(int k) const {
    switch (k) {
        case 1:
            return Image4;
        case 2:
            return Image5;
        case 3:
            return Image6;
        case 4:
            return Image7;
    }
    return nullptr;
}

void TForm1::ResetExperimentLinks() {
    for (int k = 1; k <= 4; ++k) experimentLink(k)->setFontColor(LabState.LinkColors.Idle);
    for (int k = 1; k <= 4; ++k) experimentPlate(k)->hide();
}

void TForm1::experimentLinkMouseMove(int k) {
    // The choice is sticky: only touching another link changes it, so nothing repaints while
    // the pointer stays on the chosen one.
    if (LabState.SelectedExperiment == k) return;
    ResetExperimentLinks();
    experimentLink(k)->setFontColor(LabState.LinkColors.Selected);
    experimentPlate(k)->show();
    LabState.SelectedExperiment = k;
}

namespace {
template <class Form>
bool enterExperiment(Form* form, const QString& firstMovie) {
    if (!form) return false;
    form->prepareRun();
    LoadMovie(form->Flash1, firstMovie);
    form->showForm();
    return true;
}
}  // namespace

void TForm1::Label14Click() {
    LabState.MovieStep = 1;
    bool entered = false;
    switch (LabState.SelectedExperiment) {
        case 1:
            entered = enterExperiment(Form4, QStringLiteral("\\Movie\\Opyt1\\1.swf"));
            break;
        case 2:
            entered = enterExperiment(Form5, QStringLiteral("\\Movie\\Opyt2\\1.swf"));
            break;
        case 3:
            entered = enterExperiment(Form6, QStringLiteral("\\Movie\\Opyt3\\1.swf"));
            break;
        case 4:
            entered = enterExperiment(Form7, QStringLiteral("\\Movie\\Opyt4\\1.swf"));
            break;
    }
    // Never leave the student without a visible window.
    if (entered) hide();
}

void TForm1::Label16Click() {
    if (Form3) Form3->showModalForm();
}

void TForm1::Label1Click() {
    if (Form10) Form10->showModalForm();
}

void TForm1::Image2Click() {
    close();
}

void TForm1::closeEvent(QCloseEvent* event) {
    event->accept();
    requestMainWindowClose();
}
