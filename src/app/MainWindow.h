#pragma once

#include <QStringList>
#include <functional>

#include "lab/VariantChoice.h"
#include "toolkit/LabWindow.h"

class LinkLabel;
class MoviePlayer;
class Navigation;
class Picture;
class Session;
class StaticText;
class QComboBox;

// The yellow-to-white plate that marks the chosen experiment link.
QImage highlightPlateImage(int width, int height);

// Main window: the experiment and variant choosers, the links to the results and About windows.
class MainWindow : public LabWindow {
    Q_OBJECT
public:
    MainWindow(Session& session, Navigation& navigation, QWidget* parent = nullptr);

    Picture* background = nullptr;        // background, drag handle
    Picture* experiment4Plate = nullptr;  // highlight plates under "Опыт 4" .. "Опыт 1"
    Picture* experiment3Plate = nullptr;
    Picture* experiment2Plate = nullptr;
    Picture* experiment1Plate = nullptr;
    Picture* closeSpot = nullptr;          // close-glyph spot
    LinkLabel* titleLabel = nullptr;       // title
    LinkLabel* experiment1Link = nullptr;  // "Опыт 1"
    LinkLabel* experiment2Link = nullptr;
    LinkLabel* experiment3Link = nullptr;
    LinkLabel* experiment4Link = nullptr;
    LinkLabel* instructionLabel = nullptr;  // instruction
    LinkLabel* aboutLink = nullptr;         // "О Программе"
    LinkLabel* resultsLink = nullptr;       // "Результаты"
    Picture* closeGlyph = nullptr;          // close glyph
    LinkLabel* subjectLabel = nullptr;      // "х и м и я"
    MoviePlayer* movie = nullptr;
    QComboBox* variantChooser = nullptr;
    StaticText* variantSolutionText = nullptr;  // the variant's thiosulfate solution
    StaticText* variantAcidText = nullptr;      // the variant's acid

    // What the chooser and the two texts beside it show now.
    VariantChoice variantChoice() const;
    // The experiment 1..4 whose link was touched last: the one a click enters.
    int selectedExperiment() const { return selectedExperiment_; }
    // Makes experiment k (1..4) the chosen one, as the pointer's arrival on its link does.
    void chooseExperiment(int k);
    // The registration window comes up at the first activation of the run only.
    bool registrationShown() const { return registrationShown_; }
    void setRegistrationShown(bool shown) { registrationShown_ = shown; }

    // Where the links lead; set by the composition root.
    std::function<void()> showRegistration;
    std::function<void()> showAbout;
    std::function<void()> showResults;
    // Opens experiment k (1..4); false when it could not be opened.
    std::function<bool(int experiment)> enterExperiment;

    void onVariantChosen(int index);
    // Enters the experiment whose link was touched last.
    void onExperimentLinkClicked();
    void onAboutClicked();
    void onResultsClicked();
    void onCloseGlyphClicked();

protected:
    void onActivated() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void loadContents();
    void resetExperimentLinks();
    LinkLabel* experimentLink(int k) const;
    Picture* experimentPlate(int k) const;

    Session& session_;
    Navigation& navigation_;
    int selectedExperiment_ = 1;
    bool registrationShown_ = false;
};
