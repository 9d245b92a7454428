#pragma once

#include <memory>
#include <tuple>

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

    // The one window of the given type: window<MainWindow>(), window<ResultsWindow>(), …
    // The splash is nullptr once start-up is over: it lives only while the windows are created.
    template <class Window>
    Window* window() const {
        return std::get<std::unique_ptr<Window>>(windows_).get();
    }
    ClassJournal* classJournal() const { return journal_.get(); }

private:
    // Creates the window of the given type and keeps it.
    template <class Window, class... Arguments>
    Window* create(Arguments&&... arguments);
    // Creates the windows of the given types one after the other, in the order given.
    template <class... Windows>
    void createInOrder();
    void wireNavigation();
    // Prepares experiment k's window for a new run, loads its first movie and shows it.
    bool enterExperiment(int experiment);

    // The journal outlives every window: the windows are destroyed first, in the reverse of
    // their order here, so the main window goes last.
    std::unique_ptr<ClassJournal> journal_;
    template <class... Windows>
    using Owned = std::tuple<std::unique_ptr<Windows>...>;
    Owned<SplashWindow, MainWindow, AboutWindow, ConcentrationWindow, TemperatureWindow,
          CatalystWindow, EquilibriumWindow, RateGraphWindow, ResultsWindow, RegistrationWindow,
          PasswordWindow, JournalWindow>
        windows_;
};
