// The one interface the runtime talks to for window, input, cursor, dialogs and clock.
// Three backends fill it: desktop (SDL2 + GTK 3), headless (no display: batch mode) and scripted
// (tests drive it frame by frame).
#pragma once
#include <bitset>
#include <cstdint>
#include <functional>
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
    // Keys by the runtime's key codes (vk_*): held at any moment since the last snapshot (so a
    // modifier let go just after its key went down still counts), and pressed since then.
    std::bitset<256> keyHeld;
    std::bitset<256> keyPressed;
};

// What the platform calls the runtime back for; either may be empty.
struct PlatformCallbacks {
    // Show the last presented frame again: the window was exposed or resized between frames or
    // during a modal wait.
    std::function<void()> repaint;
    // A modal wait ended: the input snapshot forgets what was held or pressed before it.
    std::function<void()> modalWaitEnded;
    // A blocking call has kept the window waiting for a while: called every few tenths of a second
    // until it ends, to show what is happening.
    std::function<void()> waiting;
};

// What a window offers while a blocking call keeps it waiting (room units): it can be dragged by its
// top band, and a click on the close button at the band's right end calls `closeAsked`; a quit signal
// (SIGTERM, SIGHUP, SIGINT) calls `stopFor` with it, at once.
struct BusyWindow {
    int dragBandHeight = 0;
    int closeButtonWidth = 0;
    std::function<void()> closeAsked;
    std::function<void(int signal)> stopFor;
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
    virtual void SetCallbacks(PlatformCallbacks callbacks) = 0;
    virtual void SetCaption(const std::string& caption) = 0;
    virtual std::string Caption() = 0;
    // Positions and sizes in room units: screen pixels divided by WindowScale().
    virtual void WindowPosition(int& x, int& y) = 0; // client area
    virtual void WindowSize(int& width, int& height) = 0;
    virtual void SetWindowPosition(int x, int y) = 0;
    virtual int WindowScale() = 0; // screen pixels per room unit
    // Whether a screen would show the window put at x, y: the middle of its top edge, where it is
    // taken to be dragged, lies on one.
    virtual bool PositionVisible(int x, int y) = 0;
    virtual bool HasFocus() = 0;
    virtual void Focus() = 0;

    // --- events and input
    // Handles pending window messages; returns false once the quit message has been seen.
    virtual bool PumpMessages() = 0;
    // Sleeps until window messages arrive or `micros` have passed; false when none can have arrived.
    virtual bool AwaitMessages(int64_t micros) = 0;
    // Whether AwaitChange can wait: the backend has something to wait on (a display connection, a
    // message queue). Without it the frame loop never sleeps between frames.
    virtual bool CanAwaitChange() = 0;
    // Waits, with no timeout, until something arrives that can change what a frame does: window and
    // input messages, the watched hand-over, a Wake from another thread, a quit signal. True once
    // something has; false at once when nothing has and the backend does not block (a test's clock):
    // no frame is due then.
    virtual bool AwaitChange() = 0;
    // Ends an AwaitChange, now or the next one; any thread may call it (the audio thread at the end of
    // a stream).
    virtual void Wake() = 0;
    // Takes the input collected since the last call (wheel steps are consumed).
    virtual InputState TakeInput() = 0;
    virtual void DisplayMouse(int& x, int& y) = 0; // screen pixels, read now
    virtual void SetCursor(int cursor) = 0;        // 0 arrow, -21 hand, -22..-1 others

    // --- files dropped on the window
    // Full paths (or text) dropped since the last call, oldest first.
    virtual std::vector<std::string> TakeDroppedFiles() = 0;

    // --- modal waits: the dialogs and boxes below, and RunBlocking. No frame runs meanwhile, but the
    // window stays alive: it answers the window manager and repaints itself. Mouse input meant for it
    // is dropped, and afterwards no button counts as held, pressed or released.
    // Runs `work` (a library call that blocks, such as a command line) to its end, with the busy cursor.
    virtual void RunBlocking(const std::function<void()>& work) = 0;
    // How the window answers meanwhile; backends without a window have nothing to offer.
    virtual void SetBusyWindow(BusyWindow) {}

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

// The backend in use, chosen once at start (the runner's; batch mode's is the headless one).
Platform& CurrentPlatform();
void SetCurrentPlatform(Platform* platform);
