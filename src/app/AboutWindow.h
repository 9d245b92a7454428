#pragma once

#include "toolkit/LabWindow.h"

class Navigation;

class LinkLabel;
class MoviePlayer;
class Picture;

// The picture behind the About window's credits: white fading to yellow, a thin rule below.
QImage aboutBackgroundImage(int width, int height);

// About window: the credits and a small looping movie
class AboutWindow : public LabWindow {
    Q_OBJECT
public:
    explicit AboutWindow(Navigation& navigation, QWidget* parent = nullptr);

    Picture* background = nullptr;
    MoviePlayer* movie = nullptr;
    // The credit lines, top to bottom: the subtitle, the product, its version, the topic in two
    // lines, the developer's heading and name, the year.
    QList<LinkLabel*> credits;
    LinkLabel* okLink = nullptr;  // "ОК"

    void onOkClicked();

private:
    void loadContents(Navigation& navigation);
};
