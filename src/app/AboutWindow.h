#pragma once

#include "toolkit/LabWindow.h"

class LinkLabel;
class MoviePlayer;
class Picture;

// The picture behind the About window's credits: white fading to yellow, a thin rule below.
QImage aboutBackgroundImage(int width, int height);

// About window: the credits and a small looping movie
class AboutWindow : public LabWindow {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);

    Picture* background = nullptr;
    MoviePlayer* movie = nullptr;
    LinkLabel* subtitleLabel = nullptr;
    LinkLabel* productLabel = nullptr;
    LinkLabel* editionLabel = nullptr;
    LinkLabel* topicLabel = nullptr;
    LinkLabel* topicSecondLine = nullptr;
    LinkLabel* developerHeading = nullptr;
    LinkLabel* developerLabel = nullptr;
    LinkLabel* yearLabel = nullptr;
    LinkLabel* okLink = nullptr;  // "ОК"

    void onOkClicked();

private:
    void loadContents();
};
