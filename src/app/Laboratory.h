#pragma once

#include <memory>
#include <tuple>

#include "lab/ReferenceData.h"
#include "lab/Session.h"
#include "shell/Navigation.h"

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

// The composition root: creates the owners of the run's state (the class journal, the session
// with the results file, the reference data) and every window once, in the start-up order,
// behind the splash; hands each window what it needs; owns them all until the program ends;
// and is the navigation between the windows. No window knows another.
class Laboratory final : public Navigation {
public:
    Laboratory();
    ~Laboratory() override;
    Laboratory(const Laboratory&) = delete;
    Laboratory& operator=(const Laboratory&) = delete;

    // The one window of the given type: window<MainWindow>(), window<ResultsWindow>(), …
    // The splash is nullptr once start-up is over: it lives only while the windows are created.
    template <class Window>
    Window* window() const {
        return std::get<std::unique_ptr<Window>>(windows_).get();
    }
    ClassJournal* classJournal() const { return journal_.get(); }
    Session& session() { return session_; }
    ReferenceData& referenceData() { return referenceData_; }

    void returnToMainWindow() override;
    void endProgram() override;
    bool isEnding() const override { return ending_; }
    // The message loop runs (set by the start-up around it): an end asked for then leaves it.
    void setMessageLoopRunning(bool running) { loopRunning_ = running; }

private:
    // Creates the window of the given type and keeps it.
    template <class Window, class... Arguments>
    Window* create(Arguments&&... arguments);
    void wireNavigation();
    // Prepares experiment k's window for a new run, loads its first movie and shows it.
    bool enterExperiment(int experiment);

    // The journal outlives every window: the windows are destroyed first, in the reverse of
    // their order here, so the main window goes last.
    std::unique_ptr<ClassJournal> journal_;
    Session session_;
    ReferenceData referenceData_;
    bool ending_ = false;
    bool loopRunning_ = false;
    // An end asked for while the main window was still being created: its message says the
    // program will be stopped, so it is carried out as soon as there is a main window.
    bool endAskedEarly_ = false;
    template <class... Windows>
    using Owned = std::tuple<std::unique_ptr<Windows>...>;
    Owned<SplashWindow, MainWindow, AboutWindow, ConcentrationWindow, TemperatureWindow,
          CatalystWindow, EquilibriumWindow, RateGraphWindow, ResultsWindow, RegistrationWindow,
          PasswordWindow, JournalWindow>
        windows_;
};
