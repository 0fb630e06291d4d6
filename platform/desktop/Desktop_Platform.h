// The desktop backend: an SDL2 window and renderer; GTK 3 file dialogs and message boxes.
#pragma once
#include "platform/Platform.h"
#include "platform/Platform_Input.h"
#include "platform/desktop/Desktop_BusyWindow.h"
#include "platform/desktop/Desktop_Cursor.h"
#include "platform/desktop/Desktop_Messages.h"
#include <SDL2/SDL.h>
#include <memory>
#include <utility>

class DesktopPlatform final : public Platform {
  public:
    // `scale`: window pixels per room unit; 0 as the desktop is scaled (GDK_SCALE, Xft.dpi).
    explicit DesktopPlatform(int scale = 0) : askedScale_(scale) {}
    ~DesktopPlatform() override;
    DesktopPlatform(const DesktopPlatform&) = delete;
    DesktopPlatform& operator=(const DesktopPlatform&) = delete;

    // --- window
    bool CreateWindow(const WindowRequest& request) override;
    // Why no window could be made, in one line for the terminal; "" when it could.
    const std::string& WindowFailure() const { return windowFailure_; }
    // The signal that ended the window (SIGINT, SIGTERM, SIGHUP), or 0.
    int EndingSignal() const { return quitSignals_.Signal(); }
    SDL_Renderer* Renderer() override { return renderer_.get(); }
    void Present() override;
    void SetCallbacks(PlatformCallbacks callbacks) override;
    void SetCaption(const std::string& caption) override;
    std::string Caption() override;
    void WindowPosition(int& x, int& y) override;
    void WindowSize(int& width, int& height) override;
    void SetWindowPosition(int x, int y) override;
    int WindowScale() override { return scale_; }
    bool PositionVisible(int x, int y) override;
    bool HasFocus() override;
    void Focus() override;

    // --- events and input
    bool PumpMessages() override;
    bool AwaitMessages(int64_t micros) override;
    bool CanAwaitChange() override { return messages_.CanWait(); }
    bool AwaitChange() override;
    void Wake() override { messages_.Wake(); }
    InputState TakeInput() override;
    void DisplayMouse(int& x, int& y) override;
    void SetCursor(int cursor) override;
    std::vector<std::string> TakeDroppedFiles() override { return std::exchange(dropped_, {}); }
    // A later start of the program knocks at `knock` (a descriptor, or on Windows an event's handle):
    // `receive` takes one start's files (false when none waits); they join the dropped files, and the
    // window is raised.
    void AcceptHandoffs(intptr_t knock, std::function<bool(std::vector<std::string>&)> receive);

    // --- modal waits
    void RunBlocking(const std::function<void()>& work) override;
    void SetBusyWindow(BusyWindow busy) override { busy_.Set(std::move(busy)); }

    // --- dialogs
    std::string OpenFileDialog(const std::string& filter, const std::string& defaultName,
                               const std::string& folder, const std::string& title) override;
    std::string SaveFileDialog(const std::string& filter, const std::string& defaultName,
                               const std::string& folder, const std::string& title) override;
    void ShowMessage(const std::string& text, const std::string& caption) override;
    bool ShowQuestion(const std::string& text, const std::string& caption) override;

    // --- clock
    int64_t NowMicros() override;
    void SleepMicros(int64_t micros) override;

  private:
    struct WindowDeleter {
        void operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
    };
    struct RendererDeleter {
        void operator()(SDL_Renderer* renderer) const { SDL_DestroyRenderer(renderer); }
    };
    struct SurfaceDeleter {
        void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
    };

    bool StartVideo();
    bool CannotOpenWindow(const std::string& why); // false, with the reason logged and kept
    void HandleEvent(const SDL_Event& event);
    void Reveal(); // shows the window, once
    void TakeHandoffs();
    // A dialog or box of a toolkit that runs its own loop; the window is serviced from that loop.
    template <typename Work> auto Modal(Work work);
    // Every modal wait of the desktop (dialogs, boxes, RunBlocking). At its end SDL forgets the keys it
    // saw go down: a release that went to a box (or to nobody: Windows does not always tell SDL that
    // it lost the keyboard) would make the next press of that key a repeat, which is dropped. What
    // arrived meanwhile is then pumped and dropped, before the wait ends.
    class ModalWait {
      public:
        // A box before the first frame still has its window to stand over.
        explicit ModalWait(DesktopPlatform& platform) : platform_(platform), wait_(platform.input_) {
            platform.Reveal();
        }
        ~ModalWait();
        ModalWait(const ModalWait&) = delete;
        ModalWait& operator=(const ModalWait&) = delete;

      private:
        DesktopPlatform& platform_;
        ModalWaitScope wait_;
    };

    bool videoStarted_ = false;
    bool revealed_ = false;
    int askedScale_ = 0;
    std::string windowFailure_;
    int scale_ = 1;
    std::unique_ptr<SDL_Window, WindowDeleter> window_;
    std::unique_ptr<SDL_Surface, SurfaceDeleter> frame_; // what is drawn, when the window enlarges it
    std::unique_ptr<SDL_Renderer, RendererDeleter> renderer_;
    CursorSet cursors_;
    int cursor_ = 0;
    InputCollector input_;
    PlatformCallbacks callbacks_;
    std::vector<std::string> dropped_;
    std::function<bool(std::vector<std::string>&)> receiveHandoff_;
    bool quit_ = false;
    BusyWindowService busy_;
    int64_t lastTraffic_ = 0; // when the display connection last had something for the pump
    MessageSource messages_;
    QuitSignals quitSignals_;
};
