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
#include "lab/LabSettings.h"
#include "lab/TeacherPassword.h"
#include "movie/MoviePlayer.h"
#include "shell/Loaders.h"
#include "students/PasswordWindow.h"
#include "students/RegistrationWindow.h"
#include "students/ResultsWindow.h"

namespace {
template <class Window>
bool enterRun(Navigation& navigation, Window* window, const QString& firstMovie) {
    window->prepareRun();
    loadMovie(navigation, window->movie, firstMovie);
    window->showAndActivate();
    return true;
}
}  // namespace

template <class Window, class... Arguments>
Window* Laboratory::create(Arguments&&... arguments) {
    auto& owner = std::get<std::unique_ptr<Window>>(windows_);
    owner = std::make_unique<Window>(std::forward<Arguments>(arguments)...);
    return owner.get();
}

Laboratory::Laboratory()
    // The journal first, so the registration at the first activation finds it.
    : journal_(
          std::make_unique<ClassJournal>(journalFilePath(), readServerSettings(LabSettings()))),
      session_(journal_.get()) {
    LabWindow::resetTermination();
    reportFailuresOf(session_.results(), *this);
    // The splash is an ordinary window, never the main one; it paints at once, before the
    // message loop runs.
    SplashWindow* splash = create<SplashWindow>(*this);
    splash->showAndActivate();
    splash->repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QApplication::setApplicationDisplayName(QString());
    QApplication::setApplicationName(QStringLiteral("Реактикум"));

    // Each window loads its pictures, movie and data as it is created, so a missing file is
    // reported in this order.
    create<MainWindow>(session_, *this);
    if (endAskedEarly_) endProgram();
    create<AboutWindow>(*this);
    create<ConcentrationWindow>(session_, *this, referenceData_);
    create<TemperatureWindow>(session_, *this);
    create<CatalystWindow>(session_, *this);
    create<EquilibriumWindow>(session_, *this);
    create<RateGraphWindow>(session_, *this, referenceData_);
    create<ResultsWindow>(session_);
    create<RegistrationWindow>(session_);
    create<PasswordWindow>(TeacherPassword::fromSettings(LabSettings()));
    create<JournalWindow>(journal_.get());
    wireNavigation();

    splash->hide();
    std::get<std::unique_ptr<SplashWindow>>(windows_).reset();
}

Laboratory::~Laboratory() {
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

    main->showRegistration = [this] { window<RegistrationWindow>()->exec(); };
    main->showAbout = [this] { window<AboutWindow>()->exec(); };
    main->showResults = [results] { results->exec(); };
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

    results->askPassword = [this] { return window<PasswordWindow>()->ask(); };
    results->showJournalWindow = [this] { window<JournalWindow>()->exec(); };
}

bool Laboratory::enterExperiment(int experiment) {
    switch (experiment) {
        case 1:
            return enterRun(*this, window<ConcentrationWindow>(),
                            QStringLiteral("\\Movie\\Opyt1\\1.swf"));
        case 2:
            return enterRun(*this, window<TemperatureWindow>(),
                            QStringLiteral("\\Movie\\Opyt2\\1.swf"));
        case 3:
            return enterRun(*this, window<CatalystWindow>(),
                            QStringLiteral("\\Movie\\Opyt3\\1.swf"));
        case 4:
            return enterRun(*this, window<EquilibriumWindow>(),
                            QStringLiteral("\\Movie\\Opyt4\\1.swf"));
    }
    return false;
}

void Laboratory::returnToMainWindow() {
    if (MainWindow* main = window<MainWindow>()) main->showAndActivate();
}

void Laboratory::endProgram() {
    MainWindow* main = window<MainWindow>();
    if (!main) {
        endAskedEarly_ = true;
        return;
    }
    ending_ = true;
    main->hide();
    LabWindow::terminateModalLoops();
    if (loopRunning_) QCoreApplication::exit(0);
}
