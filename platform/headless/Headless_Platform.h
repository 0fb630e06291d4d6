// The backend for runs without a display (batch mode): no window and nothing drawn, file dialogs
// answer "cancelled", questions No, and the boxes' texts go to stderr. Real clock.
#pragma once
#include "platform/Platform.h"

class HeadlessPlatform final : public Platform {
  public:
    // --- window: there is none
    bool CreateWindow(const WindowRequest&) override { return false; }
    SDL_Renderer* Renderer() override { return nullptr; }
    void Present() override {}
    void SetCallbacks(PlatformCallbacks) override {}
    void SetCaption(const std::string& caption) override { caption_ = caption; }
    std::string Caption() override { return caption_; }
    void WindowPosition(int& x, int& y) override { x = y = 0; }
    void WindowSize(int& width, int& height) override { width = height = 0; }
    void SetWindowPosition(int, int) override {}
    int WindowScale() override { return 1; }
    bool PositionVisible(int, int) override { return false; }
    bool HasFocus() override { return false; }
    void Focus() override {}

    // --- events and input: nothing arrives
    bool PumpMessages() override { return true; }
    bool AwaitMessages(int64_t micros) override;
    bool CanAwaitChange() override { return false; }
    bool AwaitChange() override { return true; }
    void Wake() override {}
    InputState TakeInput() override { return {}; }
    void DisplayMouse(int& x, int& y) override { x = y = 0; }
    void SetCursor(int) override {}
    std::vector<std::string> TakeDroppedFiles() override { return {}; }

    // --- modal waits: no window to keep alive
    void RunBlocking(const std::function<void()>& work) override { work(); }
    std::string OpenFileDialog(const std::string&, const std::string&, const std::string&,
                               const std::string&) override {
        return "";
    }
    std::string SaveFileDialog(const std::string&, const std::string&, const std::string&,
                               const std::string&) override {
        return "";
    }
    void ShowMessage(const std::string& text, const std::string& caption) override;
    bool ShowQuestion(const std::string& text, const std::string& caption) override;

    // --- clock
    int64_t NowMicros() override;
    void SleepMicros(int64_t micros) override;

  private:
    std::string caption_;
};
