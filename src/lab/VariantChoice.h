#pragma once

#include <QString>
#include <functional>

// The task variant the main window's chooser shows: its number and the two values it shows
// beside it, the thiosulfate solution and the acid.
struct VariantChoice {
    int number = 0;  // 1..6
    QString solution;
    QString acid;
};

// Asked each time a window needs the variant, so it always reads what the chooser shows now.
using VariantSource = std::function<VariantChoice()>;
