#include "students/RegistrationWindow.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>

#include "shell/LabState.h"
#include "shell/Program.h"
#include "shell/WindowChrome.h"
#include "students/StudentStore.h"
#include "toolkit/Colors.h"
#include "toolkit/Controls.h"
#include "toolkit/FilteredEdit.h"
#include "toolkit/Fonts.h"

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
    gradient.setColorAt(0, delphiColor(LabColors::GoldenYellow));
    gradient.setColorAt(1, delphiColor(LabColors::White));
    painter.fillRect(strip.rect(), gradient);
    return strip;
}

TForm11::TForm11(QWidget* parent)
    : LabWindow(QStringLiteral("  Регистрация"), QSize(226, 91), Border::ToolNoButtons, parent) {
    Image1 = new Picture(this);
    Label1 = new QLabel(QStringLiteral("ФИО:"), this);
    Label2 = new QLabel(QStringLiteral("Группа:"), this);
    Label3 = new LinkLabel(QStringLiteral("Принять"), this);
    Edit1 = new FilteredEdit(this);
    Edit2 = new FilteredEdit(this);

    const struct {
        QWidget* control;
        QRect bounds;
    } layout[] = {
        {Image1, {0, 64, 226, 27}},  {Label1, {20, 37, 41, 18}}, {Label2, {6, 12, 55, 18}},
        {Label3, {132, 65, 81, 23}}, {Edit1, {64, 11, 157, 19}}, {Edit2, {64, 36, 157, 19}},
    };
    for (const auto& [control, bounds] : layout) control->setGeometry(bounds);

    Image1->setImage(registrationStripImage());
    for (QLabel* label : {Label1, Label2}) label->setFont(labFont("Arial", 15, true));
    Label3->setFont(labFont("Arial Black", 16, true));
    for (FilteredEdit* edit : {Edit1, Edit2}) edit->setFlat(true);
    Edit1->setText(QStringLiteral("Введите группу"));
    Edit2->setText(QStringLiteral("Введите фамилию"));
    Edit1->setKeyPressHandler([this](unsigned char& key) { Edit1KeyPress(key); });
    Edit2->setKeyPressHandler([this](unsigned char& key) { Edit2KeyPress(key); });
    setTabOrder(Edit1, Edit2);
    Edit1->setFocus();

    attachToolLink(Label3, {this, Image1});
    connect(Label3, &LinkLabel::clicked, this, &TForm11::Label3Click);
    FormCreate();
}

void TForm11::FormCreate() {
    setBackgroundColor(delphiColor(LabColors::GoldenYellow));
    if (LabState.StartupFailed) requestMainWindowClose();
}

void TForm11::Edit1KeyPress(unsigned char& key) {
    const bool admitted = key == backspace || key == enter || key == '-' ||
                          (key >= '0' && key <= '9') || isCapitalCyrillic(key) || key == smallU;
    if (!admitted) key = 0;
    if (key == enter) Edit2->setFocus();
}

void TForm11::Edit2KeyPress(unsigned char& key) {
    const bool admitted =
        key == backspace || key == enter || key == ' ' || key == '.' || isCyrillic(key);
    if (!admitted) key = 0;
}

void TForm11::Label3Click() {
    if (Edit1->text().isEmpty()) return;
    if (Edit2->text().isEmpty()) return;
    // A failure has been reported and ends the program; the window closes either way.
    AddStudent(Edit1->text(), Edit2->text());
    closeForm();
}
