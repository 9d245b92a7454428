#pragma once

#include <QStringList>

#include "toolkit/LabWindow.h"

class LinkLabel;
class MoviePlayer;
class Picture;
class StaticText;
class QComboBox;

// The variant chooser's two values per variant: the thiosulfate solution and the acid.
extern const QStringList VariantMolarity;
extern const QStringList VariantNormality;

// The yellow-to-white plate that marks the chosen experiment link.
QImage highlightPlateImage(int width, int height);

// Main window: the experiment and variant choosers, the links to the results and About windows.
class TForm1 : public LabWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);

    Picture* Image1 = nullptr;  // background, drag handle
    Picture* Image7 = nullptr;  // highlight plates under "Опыт 4" .. "Опыт 1"
    Picture* Image6 = nullptr;
    Picture* Image5 = nullptr;
    Picture* Image4 = nullptr;
    Picture* Image3 = nullptr;    // close-glyph spot
    LinkLabel* Label3 = nullptr;  // title
    LinkLabel* Label2 = nullptr;  // "Опыт 1"
    LinkLabel* Label11 = nullptr;
    LinkLabel* Label12 = nullptr;
    LinkLabel* Label13 = nullptr;
    LinkLabel* Label15 = nullptr;  // instruction
    LinkLabel* Label16 = nullptr;  // "О Программе"
    LinkLabel* Label1 = nullptr;   // "Результаты"
    Picture* Image2 = nullptr;     // close glyph
    LinkLabel* Label4 = nullptr;   // "х и м и я"
    MoviePlayer* Flash1 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    StaticText* StaticText1 =
        nullptr;  // the variant's thiosulfate solution, read by experiments 1, 2
    StaticText* StaticText2 = nullptr;  // the variant's acid, read by experiments 1, 2

    void ComboBox1Select(int index);
    // Enters the experiment whose link was touched last.
    void Label14Click();
    void Label16Click();
    void Label1Click();
    void Image2Click();

protected:
    void FormActivate() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void FormCreate();
    void ResetExperimentLinks();
    // The hover of experiment link k (1..4): it becomes the chosen one and keeps its plate.
    void experimentLinkMouseMove(int k);
    LinkLabel* experimentLink(int k) const;
    Picture* experimentPlate(int k) const;
};
