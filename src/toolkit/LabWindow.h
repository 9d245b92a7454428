#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

class QEventLoop;

// The base of every window of the laboratory: a fixed-size window, borderless or a tool
// window with a title, created hidden, centred on the screen when first shown, shown
// modelessly or modally (a nested event loop in which timers keep firing).
//
// onActivated runs when the window becomes the program's active window coming from another of
// its windows, and not when a modal window or a message box that this window raised closes and
// hands the focus back.
class LabWindow : public QWidget {
    Q_OBJECT
public:
    enum class Border {
        None,           // borderless, covered by its own background picture
        Tool,           // tool window with title and close button
        ToolNoButtons,  // tool window with title and no title-bar buttons
    };

    LabWindow(const QString& caption, QSize clientSize, Border border, QWidget* parent = nullptr);
    ~LabWindow() override;

    Border border() const { return border_; }

    // Shows the window without a modal loop and makes it the active window.
    void showAndActivate();
    // Shows the window modally; returns when it is closed or hidden, or at once when the
    // program is ending.
    void exec();
    bool isShownModally() const { return modalLoop_ != nullptr; }
    // Hides the window; a modal display ends.
    void done();

    void setBackgroundColor(const QColor& color);

    // What a close from the window manager (a title-bar button, Alt+F4) does once canClose has
    // allowed it: the window leaves the way its own close control does. Without a handler the
    // window hides. The program itself never ends this way, only through its main window.
    void setCloseRequestHandler(std::function<void()> handler) {
        closeRequestHandler_ = std::move(handler);
    }

    // The window that was last activated (nullptr before any).
    static LabWindow* activeWindow();
    // Forgets the active window, as at program start (tests).
    static void resetActivation();

    // Tests act inside a modal window through this hook: it is called once the window's modal
    // loop runs. nullptr removes it.
    using ModalHook = std::function<void(LabWindow&)>;
    static void setModalHook(ModalHook hook);

    // Ends every modal loop at once and keeps any new one from running: the program is ending.
    static void terminateModalLoops();
    static void resetTermination();  // tests

protected:
    // Runs when the window becomes active coming from another window of the program.
    virtual void onActivated() {}
    // Runs when the user closes the window with its title-bar button; return false to refuse.
    virtual bool canClose() { return true; }

    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void becomeActive();
    void centreOnScreen();

    Border border_;
    bool centred_ = false;
    std::function<void()> closeRequestHandler_;
    QEventLoop* modalLoop_ = nullptr;
    QPointer<LabWindow> modalOwner_;
};
