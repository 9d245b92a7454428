#include "app/Laboratory.h"

#include <QApplication>

#include "app/AboutWindow.h"
#include "app/MainWindow.h"
#include "app/SplashWindow.h"
#include "experiments/catalyst/CatalystWindow.h"
#include "experiments/concentration/ConcentrationWindow.h"
#include "experiments/concentration/RateGraphWindow.h"
#include "experiments/equilibrium/EquilibriumWindow.h"
#include "experiments/temperature/TemperatureWindow.h"
#include "journal/ClassJournal.h"
#include "journal/JournalSettings.h"
#include "journal/JournalWindow.h"
#include "lab/ProgramDir.h"
#include "movie/MoviePlayer.h"
#include "shell/Loaders.h"
#include "shell/Program.h"
#include "students/PasswordWindow.h"
#include "students/RegistrationWindow.h"
#include "students/ResultsWindow.h"

namespace {
template <class Window>
bool enterRun(Window* window, const QString& firstMovie) {
    window->prepareRun();
    loadMovie(window->movie, firstMovie);
    window->showForm();
    return true;
}
}  // namespace

template <class Window, class... Arguments>
Window* Laboratory::create(Arguments&&... arguments) {
    auto& owner = std::get<std::unique_ptr<Window>>(windows_);
    owner = std::make_unique<Window>(std::forward<Arguments>(arguments)...);
    return owner.get();
}

template <class... Windows>
void Laboratory::createInOrder() {
    // A fold over the comma operator runs left to right: one window after the other.
    (..., create<Windows>());
}

Laboratory::Laboratory() {
    // The journal first, so the registration at the first activation finds it.
    journal_ =
        std::make_unique<ClassJournal>(journalFilePath(), readServerSettings(settingsFilePath()));
    setJournal(journal_.get());
    // The splash is an ordinary window, never the main one; it paints at once, before the
    // message loop runs.
    SplashWindow* splash = create<SplashWindow>();
    splash->showForm();
    splash->repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QApplication::setApplicationDisplayName(QString());
    QApplication::setApplicationName(QStringLiteral("Реактикум"));

    // Each window loads its pictures, movie and data as it is created, so a missing file is
    // reported in this order.
    setMainForm(create<MainWindow>());
    createInOrder<AboutWindow, ConcentrationWindow, TemperatureWindow, CatalystWindow,
                  EquilibriumWindow, RateGraphWindow, ResultsWindow, RegistrationWindow,
                  PasswordWindow>();
    create<JournalWindow>(journal_.get());
    wireNavigation();

    splash->hide();
    std::get<std::unique_ptr<SplashWindow>>(windows_).reset();
}

Laboratory::~Laboratory() {
    setMainForm(nullptr);
    setJournal(nullptr);
    // The windows in the reverse of their order in the tuple: the main window last.
    [this]<std::size_t... I>(std::index_sequence<I...>) {
        constexpr std::size_t last = sizeof...(I) - 1;
        (..., std::get<last - I>(windows_).reset());
    }
    (std::make_index_sequence<std::tuple_size_v<decltype(windows_)>>());
}

void Laboratory::wireNavigation() {
    auto* main = window<MainWindow>();
    auto* concentration = window<ConcentrationWindow>();
    auto* rateGraph = window<RateGraphWindow>();
    auto* temperature = window<TemperatureWindow>();
    auto* results = window<ResultsWindow>();
    const VariantSource variant = [main] { return main->variantChoice(); };

    main->showRegistration = [this] { window<RegistrationWindow>()->showModalForm(); };
    main->showAbout = [this] { window<AboutWindow>()->showModalForm(); };
    main->showResults = [results] { results->showModalForm(); };
    main->enterExperiment = [this](int experiment) { return enterExperiment(experiment); };

    concentration->setVariantSource(variant);
    concentration->openGraph = [rateGraph](ConcentrationWindow::GraphOpening opening) {
        if (opening == ConcentrationWindow::GraphOpening::AfterRates)
            rateGraph->showAfterRates();
        else
            rateGraph->showGraph(RateGraphWindow::Failures::Reported);
    };
    rateGraph->setVariantSource(variant);
    rateGraph->setMeasurementTable(concentration->measurementTable);
    rateGraph->setExperimentWindow(concentration);
    temperature->setVariantSource(variant);
    temperature->setExperiment1Table(concentration->measurementTable);

    results->showPasswordWindow = [this] { window<PasswordWindow>()->showModalForm(); };
    results->clearPassword = [this] { window<PasswordWindow>()->clearPassword(); };
    results->showJournalWindow = [this] { window<JournalWindow>()->showModalForm(); };
}

bool Laboratory::enterExperiment(int experiment) {
    switch (experiment) {
        case 1:
            return enterRun(window<ConcentrationWindow>(), QStringLiteral("\\Movie\\Opyt1\\1.swf"));
        case 2:
            return enterRun(window<TemperatureWindow>(), QStringLiteral("\\Movie\\Opyt2\\1.swf"));
        case 3:
            return enterRun(window<CatalystWindow>(), QStringLiteral("\\Movie\\Opyt3\\1.swf"));
        case 4:
            return enterRun(window<EquilibriumWindow>(), QStringLiteral("\\Movie\\Opyt4\\1.swf"));
    }
    return false;
}
