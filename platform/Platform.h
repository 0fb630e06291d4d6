// The one interface the runtime talks to for window, input, cursor, dialogs and clock.
// Two backends fill it: desktop (SDL2 + GTK 3) and scripted (tests drive it frame by frame).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct SDL_Renderer;

// Input as collected since the last snapshot: pointer in window pixels, buttons held, wheel steps.
struct InputState {
    int windowMouseX = 0;
    int windowMouseY = 0;
    bool buttonHeld[4] = {}; // index 1 left, 2 right, 3 middle
    int wheelUp = 0;         // steps away from the user
    int wheelDown = 0;
    // Presses and releases seen since the last snapshot, so a click inside one frame is not lost.
    int buttonPresses[4] = {};
    int buttonReleases[4] = {};
};

struct WindowRequest {
    int width = 0;
    int height = 0;
    bool borderless = false;
    bool resizable = false;
    std::string caption;
};

class Platform {
  public:
    virtual ~Platform() = default;

    // --- window
    virtual bool CreateWindow(const WindowRequest& request) = 0; // false: no window could be made
    virtual SDL_Renderer* Renderer() = 0;                        // what all drawing goes to
    virtual void Present() = 0;                                  // show the back buffer
    virtual void SetCaption(const std::string& caption) = 0;
    virtual std::string Caption() = 0;
    virtual void WindowPosition(int& x, int& y) = 0; // client area, screen pixels
    virtual void WindowSize(int& width, int& height) = 0;
    virtual void SetWindowPosition(int x, int y) = 0;
    virtual bool HasFocus() = 0;
    virtual void Focus() = 0;

    // --- events and input
    // Handles pending window messages; returns false once the quit message has been seen.
    virtual bool PumpMessages() = 0;
    // Takes the input collected since the last call (wheel steps are consumed).
    virtual InputState TakeInput() = 0;
    // Forgets held buttons and pending edges (after a modal dialog).
    virtual void ClearInput() = 0;
    virtual void DisplayMouse(int& x, int& y) = 0; // screen pixels, read now
    virtual void SetCursor(int cursor) = 0;        // 0 arrow, -21 hand, -22..-1 others

    // --- files dropped on the window
    // Full paths dropped since the last call, oldest first.
    virtual std::vector<std::string> TakeDroppedFiles() = 0;

    // --- dialogs (modal; the frame loop stands still meanwhile)
    // Return the chosen path or "" when cancelled.
    virtual std::string OpenFileDialog(const std::string& filter, const std::string& defaultName,
                                       const std::string& folder, const std::string& title) = 0;
    virtual std::string SaveFileDialog(const std::string& filter, const std::string& defaultName,
                                       const std::string& folder, const std::string& title) = 0;
    virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;
    virtual bool ShowQuestion(const std::string& text, const std::string& caption) = 0;

    // --- clock
    virtual int64_t NowMicros() = 0;
    virtual void SleepMicros(int64_t micros) = 0;
};

// The backend in use, chosen once at start.
Platform& CurrentPlatform();
void SetCurrentPlatform(Platform* platform);
