#include "app/Laboratory.h"

#include <QApplication>

#include "app/AboutWindow.h"
#include "app/MainWindow.h"
#include "app/SplashWindow.h"
#include "concentration/ConcentrationWindow.h"
#include "concentration/RateGraphWindow.h"
#include "core/Loaders.h"
#include "core/Program.h"
#include "core/ProgramDir.h"
#include "experiments/CatalystWindow.h"
#include "experiments/EquilibriumWindow.h"
#include "experiments/TemperatureWindow.h"
#include "journal/ClassJournal.h"
#include "journal/JournalSettings.h"
#include "journal/JournalWindow.h"
#include "movie/MoviePlayer.h"
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

Laboratory::Laboratory() {
    // The journal first, so the registration at the first activation finds it.
    journal_ =
        std::make_unique<ClassJournal>(journalFilePath(), readServerSettings(settingsFilePath()));
    setJournal(journal_.get());
    // The splash is an ordinary window, never the main one; it paints at once, before the
    // message loop runs.
    splash_ = std::make_unique<SplashWindow>();
    splash_->showForm();
    splash_->repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QApplication::setApplicationDisplayName(QString());
    QApplication::setApplicationName(QStringLiteral("Реактикум"));

    // Each window loads its pictures, movie and data as it is created, so a missing file is
    // reported in this order.
    main_ = std::make_unique<MainWindow>();
    setMainForm(main_.get());
    about_ = std::make_unique<AboutWindow>();
    concentration_ = std::make_unique<ConcentrationWindow>();
    temperature_ = std::make_unique<TemperatureWindow>();
    catalyst_ = std::make_unique<CatalystWindow>();
    equilibrium_ = std::make_unique<EquilibriumWindow>();
    rateGraph_ = std::make_unique<RateGraphWindow>();
    results_ = std::make_unique<ResultsWindow>();
    registration_ = std::make_unique<RegistrationWindow>();
    password_ = std::make_unique<PasswordWindow>();
    journalWindow_ = std::make_unique<JournalWindow>(journal_.get());
    wireNavigation();

    splash_->hide();
    splash_.reset();
}

Laboratory::~Laboratory() {
    setMainForm(nullptr);
    setJournal(nullptr);
}

void Laboratory::wireNavigation() {
    MainWindow* main = main_.get();
    const VariantSource variant = [main] { return main->variantChoice(); };

    main->showRegistration = [this] { registration_->showModalForm(); };
    main->showAbout = [this] { about_->showModalForm(); };
    main->showResults = [this] { results_->showModalForm(); };
    main->enterExperiment = [this](int experiment) { return enterExperiment(experiment); };

    concentration_->setVariantSource(variant);
    concentration_->openGraph = [this](ConcentrationWindow::GraphOpening opening) {
        if (opening == ConcentrationWindow::GraphOpening::AfterRates)
            rateGraph_->showAfterRates();
        else
            rateGraph_->showGraph(RateGraphWindow::Failures::Reported);
    };
    rateGraph_->setVariantSource(variant);
    rateGraph_->setMeasurementTable(concentration_->measurementTable);
    rateGraph_->setExperimentWindow(concentration_.get());
    temperature_->setVariantSource(variant);
    temperature_->setExperiment1Table(concentration_->measurementTable);

    results_->showPasswordWindow = [this] { password_->showModalForm(); };
    results_->clearPassword = [this] { password_->clearPassword(); };
    results_->showJournalWindow = [this] { journalWindow_->showModalForm(); };
}

bool Laboratory::enterExperiment(int experiment) {
    switch (experiment) {
        case 1:
            return enterRun(concentration_.get(), QStringLiteral("\\Movie\\Opyt1\\1.swf"));
        case 2:
            return enterRun(temperature_.get(), QStringLiteral("\\Movie\\Opyt2\\1.swf"));
        case 3:
            return enterRun(catalyst_.get(), QStringLiteral("\\Movie\\Opyt3\\1.swf"));
        case 4:
            return enterRun(equilibrium_.get(), QStringLiteral("\\Movie\\Opyt4\\1.swf"));
    }
    return false;
}
