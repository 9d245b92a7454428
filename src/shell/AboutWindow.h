#pragma once

#include "toolkit/LabWindow.h"

class LinkLabel;
class MoviePlayer;
class Picture;

// The picture behind the About window's credits: white fading to yellow, a thin rule below.
QImage aboutBackgroundImage(int width, int height);

// About window: the credits and a small looping movie
class TForm3 : public LabWindow {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);

    Picture* Image1 = nullptr;
    MoviePlayer* Flash1 = nullptr;
    LinkLabel* Label3 = nullptr;
    LinkLabel* Label1 = nullptr;
    LinkLabel* Label8 = nullptr;
    LinkLabel* Label2 = nullptr;
    LinkLabel* Label6 = nullptr;
    LinkLabel* Label4 = nullptr;
    LinkLabel* Label5 = nullptr;
    LinkLabel* Label7 = nullptr;
    LinkLabel* Label9 = nullptr;  // "ОК"

    void Label9Click();

private:
    void FormCreate();
};
