#include "students/RegistrationWindow.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>

#include "lab/Session.h"
#include "shell/Layout.h"
#include "shell/WindowChrome.h"
#include "toolkit/Colors.h"
#include "toolkit/FilteredEdit.h"
#include "toolkit/Fonts.h"
#include "toolkit/LinkLabel.h"
#include "toolkit/Picture.h"

namespace {
// Windows-1251 codes: Backspace, Enter, and the capital Cyrillic letters "А".."Я"; the
// small letters "а".."я" follow them. "Ё" and "ё" lie elsewhere and are not admitted.
constexpr unsigned char backspace = 8;
constexpr unsigned char enter = 13;
constexpr unsigned char capitalA = 192;
constexpr unsigned char capitalYa = 223;
constexpr unsigned char smallU = 243;

bool isCapitalCyrillic(unsigned char key) {
    return key >= capitalA && key <= capitalYa;
}
bool isCyrillic(unsigned char key) {
    return key >= capitalA;
}
}  // namespace

QImage registrationStripImage() {
    QImage strip(226, 27, QImage::Format_RGB32);
    QPainter painter(&strip);
    QLinearGradient gradient(0, 0, strip.width() - 1, 0);
    gradient.setColorAt(0, colorFromBgr(LabColors::GoldenYellow));
    gradient.setColorAt(1, colorFromBgr(LabColors::White));
    painter.fillRect(strip.rect(), gradient);
    return strip;
}

RegistrationWindow::RegistrationWindow(Session& session, QWidget* parent)
    : LabWindow(QStringLiteral("  Регистрация"), QSize(226, 91), Border::ToolNoButtons, parent),
      session_(session) {
    acceptStrip = new Picture(this);
    surnameLabel = new QLabel(QStringLiteral("ФИО:"), this);
    groupLabel = new QLabel(QStringLiteral("Группа:"), this);
    acceptLink = new LinkLabel(QStringLiteral("Принять"), this);
    groupEdit = new FilteredEdit(this);
    surnameEdit = new FilteredEdit(this);

    placeControls({
        {acceptStrip, 0, 64, 226, 27},
        {surnameLabel, 20, 37, 41, 18},
        {groupLabel, 6, 12, 55, 18},
        {acceptLink, 132, 65, 81, 23},
        {groupEdit, 64, 11, 157, 19},
        {surnameEdit, 64, 36, 157, 19},
    });

    acceptStrip->setImage(registrationStripImage());
    for (QLabel* label : {surnameLabel, groupLabel}) label->setFont(labFont("Arial", 15, true));
    acceptLink->setFont(labFont("Arial Black", 16, true));
    for (FilteredEdit* edit : {groupEdit, surnameEdit}) edit->setFlat(true);
    groupEdit->setText(QStringLiteral("Введите группу"));
    surnameEdit->setText(QStringLiteral("Введите фамилию"));
    groupEdit->setPromptText(groupEdit->text());
    surnameEdit->setPromptText(surnameEdit->text());
    groupEdit->setKeyPressHandler([this](unsigned char& key) { filterGroupKey(key); });
    surnameEdit->setKeyPressHandler([this](unsigned char& key) { filterSurnameKey(key); });
    setTabOrder(groupEdit, surnameEdit);
    groupEdit->setFocus();

    groupEdit->setAccessibleName(QStringLiteral("Группа"));
    surnameEdit->setAccessibleName(QStringLiteral("Фамилия и инициалы"));
    acceptStrip->setAccessibleName(QStringLiteral("Полоса под ссылкой «Принять»"));
    attachToolLink(acceptLink, {this, acceptStrip});
    connect(acceptLink, &LinkLabel::clicked, this, &RegistrationWindow::onAcceptClicked);
    loadContents();
}

void RegistrationWindow::loadContents() {
    setBackgroundColor(colorFromBgr(LabColors::GoldenYellow));
}

void RegistrationWindow::filterGroupKey(unsigned char& key) {
    const bool admitted = key == backspace || key == enter || key == '-' ||
                          (key >= '0' && key <= '9') || isCapitalCyrillic(key) || key == smallU;
    if (!admitted) key = 0;
    if (key == enter) surnameEdit->setFocus();
}

void RegistrationWindow::filterSurnameKey(unsigned char& key) {
    const bool admitted =
        key == backspace || key == enter || key == ' ' || key == '.' || isCyrillic(key);
    if (!admitted) key = 0;
}

void RegistrationWindow::onAcceptClicked() {
    if (groupEdit->text().isEmpty()) return;
    if (surnameEdit->text().isEmpty()) return;
    // A failure has been reported (one that ends the program, or a save the table keeps for
    // the next one); the window closes either way.
    session_.registerStudent(groupEdit->text(), surnameEdit->text());
    done();
}
