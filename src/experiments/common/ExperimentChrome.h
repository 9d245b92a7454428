#pragma once

#include <QString>
#include <functional>

class HeadingStrip;
class LabWindow;
class LinkLabel;
class MovieEndWatch;
class MoviePlayer;
class Picture;
class QLabel;
class QPushButton;
class QWidget;
class StaticText;
class Stopwatch;
class StringGrid;

// The controls every experiment window has, bottom to top: the background, the two titles, the
// "Далее" and "Закончить опыт" links, the close glyph over its spot, the step movie and the
// watch for the movie's last frame. The windows own them as child widgets.
struct ExperimentChrome {
    // Creates the controls as the window's first children, so that they lie under its own
    // controls and come first in its tab order, and places all but the topic title and the
    // movie, whose places differ between the windows. The background drags the window; the
    // close glyph, Escape and a close from the window manager call leave.
    void createChrome(LabWindow* window, const QString& number, const QString& topic,
                      std::function<void()> atMovieEnd, std::function<void()> leave);

    Picture* background = nullptr;
    QLabel* numberTitle = nullptr;
    QLabel* topicTitle = nullptr;
    LinkLabel* nextLink = nullptr;
    LinkLabel* finishLink = nullptr;
    Picture* closeSpot = nullptr;
    Picture* closeGlyph = nullptr;
    MoviePlayer* movie = nullptr;
    MovieEndWatch* movieEndWatch = nullptr;
};

// The timed measurements of experiments 1 and 2: the measurement table under its heading strip
// and caption, the variant's two texts and the stopwatch with its display and buttons.
struct TimedMeasurementParts {
    StringGrid* measurementTable = nullptr;
    StaticText* tableCaption = nullptr;
    HeadingStrip* headingStrip = nullptr;
    StaticText* variantSolutionText = nullptr;
    StaticText* variantAcidText = nullptr;
    Stopwatch* stopwatch = nullptr;
};

// A push button of the experiment windows ("Старт", "Стоп", "ОК"): in the window's own font, or
// in Arial bold 13 px. A double click on it is one click.
QPushButton* makeButton(QWidget* parent, const QString& text, bool arialBold);

// «Старт» on a timed tube: the reaction begins with the stopwatch, at the frame where the acid
// is in (the tube movie's label "acid"). A tube still being filled is shown with its acid in at
// once, and a tube that has already reacted (a second «Старт» after «Стоп») is shown fresh at
// that moment again, so the stopwatch never runs against a reaction that began earlier or later.
void beginTubeReaction(MoviePlayer* movie);
// «Стоп» on a timed tube: the picture stays at the moment the stopwatch stopped, so what the
// student sees is what they measured (the cross gone, or still there after a press too early),
// and the movie never plays on to its end caption behind a greyed «Стоп».
void endTubeReaction(MoviePlayer* movie);
