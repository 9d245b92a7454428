#pragma once

#include <memory>

class AboutWindow;
class CatalystWindow;
class ClassJournal;
class ConcentrationWindow;
class EquilibriumWindow;
class JournalWindow;
class MainWindow;
class PasswordWindow;
class RateGraphWindow;
class RegistrationWindow;
class ResultsWindow;
class SplashWindow;
class TemperatureWindow;

// The composition root: creates every window once, in the start-up order, behind the splash;
// owns them until the program ends; wires the navigation between them. No window knows another.
class Laboratory {
public:
    Laboratory();
    ~Laboratory();
    Laboratory(const Laboratory&) = delete;
    Laboratory& operator=(const Laboratory&) = delete;

    // nullptr once start-up is over: the splash lives only while the windows are created.
    SplashWindow* splashWindow() const { return splash_.get(); }
    MainWindow* mainWindow() const { return main_.get(); }
    AboutWindow* aboutWindow() const { return about_.get(); }
    ConcentrationWindow* concentrationWindow() const { return concentration_.get(); }
    TemperatureWindow* temperatureWindow() const { return temperature_.get(); }
    CatalystWindow* catalystWindow() const { return catalyst_.get(); }
    EquilibriumWindow* equilibriumWindow() const { return equilibrium_.get(); }
    RateGraphWindow* rateGraphWindow() const { return rateGraph_.get(); }
    ResultsWindow* resultsWindow() const { return results_.get(); }
    RegistrationWindow* registrationWindow() const { return registration_.get(); }
    PasswordWindow* passwordWindow() const { return password_.get(); }
    JournalWindow* journalWindow() const { return journalWindow_.get(); }
    ClassJournal* classJournal() const { return journal_.get(); }

private:
    void wireNavigation();
    // Prepares experiment k's window for a new run, loads its first movie and shows it.
    bool enterExperiment(int experiment);

    // Destroyed in the reverse order: the main window last, the journal after every window.
    std::unique_ptr<ClassJournal> journal_;
    std::unique_ptr<SplashWindow> splash_;
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<AboutWindow> about_;
    std::unique_ptr<ConcentrationWindow> concentration_;
    std::unique_ptr<TemperatureWindow> temperature_;
    std::unique_ptr<CatalystWindow> catalyst_;
    std::unique_ptr<EquilibriumWindow> equilibrium_;
    std::unique_ptr<RateGraphWindow> rateGraph_;
    std::unique_ptr<ResultsWindow> results_;
    std::unique_ptr<RegistrationWindow> registration_;
    std::unique_ptr<PasswordWindow> password_;
    std::unique_ptr<JournalWindow> journalWindow_;
};
