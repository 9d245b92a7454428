#pragma once

class HeadingStrip;
class LinkLabel;
class MovieEndWatch;
class MoviePlayer;
class Picture;
class QLabel;
class QPushButton;
class SlidingTable;
class StaticText;
class Stopwatch;
class StringGrid;

// The controls every experiment window has, bottom to top: the background, the two titles, the
// "Далее" and "Закончить опыт" links, the close glyph over its spot, the step movie and the
// watch for the movie's last frame. The windows own them as child widgets.
struct ExperimentChrome {
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
// and caption, sliding out of the movie's way, the variant's two texts and the stopwatch.
struct TimedMeasurementParts {
    StringGrid* measurementTable = nullptr;
    StaticText* tableCaption = nullptr;
    HeadingStrip* headingStrip = nullptr;
    SlidingTable* slidingTable = nullptr;
    StaticText* variantSolutionText = nullptr;
    StaticText* variantAcidText = nullptr;
    StaticText* stopwatchDisplay = nullptr;
    QPushButton* startButton = nullptr;  // "Старт"
    QPushButton* stopButton = nullptr;   // "Стоп"
    Stopwatch* stopwatch = nullptr;
};
