#pragma once
// The application object: title, the hidden owner window, the message loop with the keyboard order,
// message boxes and the default exception handler.
#include <windows.h>

#include <exception>
#include <functional>
#include <string>

class TForm;

class TApplication {
public:
    // Common controls, the title from the executable's name, the screen's DPI, the hidden owner window.
    void Initialize();
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }
    HWND Handle() const { return handle_; }
    int Dpi() const;

    // The first form made is the main form; the message loop ends when it is destroyed.
    TForm* MainForm() const { return mainForm_; }
    void RegisterForm(TForm* form);
    void FormDestroyed(TForm* form);

    // Runs the message loop until WM_QUIT; returns its exit code.
    int Run();
    // Runs the messages waiting now, then returns.
    void ProcessMessages();
    // Waits for one message and processes it; false when the loop is to end.
    bool HandleMessage();
    void Terminate();
    // Ends the process at once: no close events, nothing else runs.
    [[noreturn]] void Halt(int exitCode = 0);

    int MessageBox(const std::wstring& text, const std::wstring& caption, UINT flags);

    // Shows an exception the way the user sees every failure: error icon, OK, the title as caption.
    void ShowException(const std::exception& e);
    // The default exception handler: OnException when it is set, else ShowException.
    void HandleException(const std::exception& e) noexcept;
    // For catch (...) blocks at the entries from the platform.
    void HandleCurrentException() noexcept;

    // Replaces the default handler (tests capture what would be shown).
    std::function<void(const std::exception&)> OnException;
    // Replaces the ending of the process (tests observe the end without ending).
    std::function<void(int)> OnHalt;

private:
    // One message taken from the queue: the busy window's input dropped, the window's shortcut keys,
    // its keyboard order, then the window procedure.
    void ProcessMessage(MSG& msg);

    std::string title_;
    HWND handle_ = nullptr;
    TForm* mainForm_ = nullptr;
    bool terminated_ = false;
    bool running_ = false;
    mutable int dpi_ = 0;
};

TApplication& Application();
