// The headless backend for tests: a software renderer on a memory surface, a clock the test
// advances, input the test sets frame by frame, and dialogs answered from queues.
#pragma once
#include "platform/Platform.h"
#include "platform/Platform_Input.h"
#include <SDL2/SDL.h>
#include <atomic>
#include <deque>
#include <memory>
#include <utility>
#include <vector>

class ScriptedPlatform final : public Platform {
  public:
    enum class DialogKind { Open, Save };
    struct DialogRecord {
        DialogKind kind;
        std::string filter, defaultName, folder, title;
        std::string answer;             // what the dialog returned
        bool unanswered = false;        // nothing was queued: the dialog was cancelled
        bool overwritePrompted = false; // the save target existed and the overwrite was confirmed
    };
    struct BoxRecord {
        std::string text, caption;
        bool question = false;
        bool answer = false;
    };

    ScriptedPlatform() = default;
    ScriptedPlatform(const ScriptedPlatform&) = delete;
    ScriptedPlatform& operator=(const ScriptedPlatform&) = delete;

    // --- Platform
    bool CreateWindow(const WindowRequest& request) override;
    SDL_Renderer* Renderer() override { return renderer_.get(); }
    void Present() override { ++presents_; }
    void SetCallbacks(PlatformCallbacks callbacks) override;
    void SetCaption(const std::string& caption) override { request_.caption = caption; }
    std::string Caption() override { return request_.caption; }
    void WindowPosition(int& x, int& y) override;
    void WindowSize(int& width, int& height) override;
    void SetWindowPosition(int x, int y) override;
    int WindowScale() override { return 1; }
    bool PositionVisible(int x, int y) override;
    bool HasFocus() override { return focused_; }
    void Focus() override { focused_ = true; }
    // The clock moves only when the runtime waits, so frames fall exactly on their grid. What the test
    // did so far is taken by the frame that follows: it no longer ends a wait.
    bool PumpMessages() override {
        woken_ = false;
        return !quit_;
    }
    InputState TakeInput() override;
    void DisplayMouse(int& x, int& y) override;
    void SetCursor(int cursor) override { cursor_ = cursor; }
    std::vector<std::string> TakeDroppedFiles() override { return std::exchange(dropped_, {}); }
    void RunBlocking(const std::function<void()>& work) override;
    std::string OpenFileDialog(const std::string& filter, const std::string& defaultName,
                               const std::string& folder, const std::string& title) override;
    std::string SaveFileDialog(const std::string& filter, const std::string& defaultName,
                               const std::string& folder, const std::string& title) override;
    void ShowMessage(const std::string& text, const std::string& caption) override;
    bool ShowQuestion(const std::string& text, const std::string& caption) override;
    bool AwaitMessages(int64_t micros) override {
        now_ += micros;
        return true;
    }
    // The test's clock cannot be slept on: a wait ends at once, woken or not. Whatever the test does
    // to the window (input, focus, a drop, a quit) or Wake wakes it.
    bool CanAwaitChange() override { return true; }
    bool AwaitChange() override { return woken_.exchange(false); }
    void Wake() override { woken_ = true; }
    int64_t NowMicros() override { return now_; }
    void SleepMicros(int64_t micros) override { now_ += micros; }

    // --- what a test drives
    void SetPointer(int windowX, int windowY); // relative to the window's client area
    void SetScreenPointer(int x, int y);
    void Press(int button); // 1 left, 2 right, 3 middle
    void Release(int button);
    void TurnWheel(int steps); // positive: away from the user
    void KeyDown(int key);     // the runtime's key codes (vk_*)
    void KeyUp(int key);
    void SetFocus(bool focused) {
        focused_ = focused;
        Wake();
    }
    void RequestQuit() {
        quit_ = true;
        Wake();
    }
    void AdvanceClock(int64_t micros) { now_ += micros; }
    void QueueOpenAnswer(std::string path) { openAnswers_.push_back(std::move(path)); }
    void QueueSaveAnswer(std::string path) { saveAnswers_.push_back(std::move(path)); }
    void QueueQuestionAnswer(bool yes) { questionAnswers_.push_back(yes); }
    void Drop(std::string path) {
        dropped_.push_back(std::move(path));
        Wake();
    }
    // What the user does while the next modal wait blocks the program.
    void DuringNextModalWait(std::function<void()> action) { duringWait_ = std::move(action); }
    // The window asks for a repaint (as when it is exposed).
    void Expose() {
        Wake();
        if (callbacks_.repaint)
            callbacks_.repaint();
    }

    // --- what a test reads back
    const WindowRequest& Request() const { return request_; }
    bool HasWindow() const { return surface_ != nullptr; }
    int Cursor() const { return cursor_; }
    int PresentCount() const { return presents_; }
    const std::vector<DialogRecord>& Dialogs() const { return dialogs_; }
    const std::vector<BoxRecord>& Boxes() const { return boxes_; }
    // The window's pixel as last drawn (alpha 255 wherever something opaque was drawn).
    SDL_Color Pixel(int x, int y) const;
    // A hash of the whole picture as last drawn (0 without a window).
    uint64_t PictureHash() const;

  private:
    struct SurfaceDeleter {
        void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
    };
    struct RendererDeleter {
        void operator()(SDL_Renderer* renderer) const { SDL_DestroyRenderer(renderer); }
    };

    std::string Answer(std::deque<std::string>& queue, DialogRecord& record);
    // Runs `work` as a modal wait, with whatever the test does meanwhile.
    template <typename Work> auto Modal(Work work) {
        ModalWaitScope wait(input_);
        if (auto action = std::exchange(duringWait_, nullptr))
            action();
        return work();
    }

    WindowRequest request_;
    // Declared before the renderer, which draws on it and must go first.
    std::unique_ptr<SDL_Surface, SurfaceDeleter> surface_;
    std::unique_ptr<SDL_Renderer, RendererDeleter> renderer_;
    int windowX_ = 0, windowY_ = 0;
    int screenPointerX_ = 0, screenPointerY_ = 0;
    InputCollector input_;
    std::function<void()> duringWait_;
    PlatformCallbacks callbacks_;
    bool focused_ = true;
    bool quit_ = false;
    int cursor_ = 0;
    int presents_ = 0;
    int64_t now_ = 1'000'000;
    std::atomic<bool> woken_ = false;
    std::deque<std::string> openAnswers_, saveAnswers_;
    std::deque<bool> questionAnswers_;
    std::vector<DialogRecord> dialogs_;
    std::vector<BoxRecord> boxes_;
    std::vector<std::string> dropped_;
};
