#include "platform/scripted/Scripted_Platform.h"
#include "platform/Dialog_Filter.h"
#include <filesystem>

namespace {
// The pretend desktop the window is centred on.
constexpr int ScreenWidth = 1920, ScreenHeight = 1080;

} // namespace

bool ScriptedPlatform::CreateWindow(const WindowRequest& request) {
    if (request.width <= 0 || request.height <= 0)
        return false;
    request_ = request;
    renderer_.reset();
    surface_.reset(
        SDL_CreateRGBSurfaceWithFormat(0, request.width, request.height, 32, SDL_PIXELFORMAT_ARGB8888));
    if (!surface_)
        return false;
    renderer_.reset(SDL_CreateSoftwareRenderer(surface_.get()));
    if (!renderer_) {
        surface_.reset();
        return false;
    }
    windowX_ = (ScreenWidth - request.width) / 2;
    windowY_ = (ScreenHeight - request.height) / 2;
    return true;
}

void ScriptedPlatform::WindowPosition(int& x, int& y) {
    x = windowX_;
    y = windowY_;
}

void ScriptedPlatform::WindowSize(int& width, int& height) {
    width = request_.width;
    height = request_.height;
}

void ScriptedPlatform::SetWindowPosition(int x, int y) {
    windowX_ = x;
    windowY_ = y;
}

bool ScriptedPlatform::PositionVisible(int x, int y) {
    const int middle = x + request_.width / 2;
    return middle >= 0 && middle < ScreenWidth && y >= 0 && y < ScreenHeight;
}

InputState ScriptedPlatform::TakeInput() {
    input_.PointerAt(screenPointerX_ - windowX_, screenPointerY_ - windowY_);
    return input_.Take();
}

void ScriptedPlatform::SetCallbacks(PlatformCallbacks callbacks) {
    callbacks_ = std::move(callbacks);
    input_.waitEnded = callbacks_.modalWaitEnded;
}

void ScriptedPlatform::RunBlocking(const std::function<void()>& work) {
    Modal(work);
}

void ScriptedPlatform::DisplayMouse(int& x, int& y) {
    x = screenPointerX_;
    y = screenPointerY_;
}

void ScriptedPlatform::SetPointer(int windowX, int windowY) {
    SetScreenPointer(windowX_ + windowX, windowY_ + windowY);
}

// Everything the test does to the window is a message that ends a wait, as on the desktop; the pointer
// only while it is over the window or leaves it: X reports no motion elsewhere.
void ScriptedPlatform::SetScreenPointer(int x, int y) {
    const auto over = [this](int px, int py) {
        return px >= windowX_ && py >= windowY_ && px < windowX_ + request_.width &&
               py < windowY_ + request_.height;
    };
    if (over(screenPointerX_, screenPointerY_) || over(x, y))
        Wake();
    screenPointerX_ = x;
    screenPointerY_ = y;
}

void ScriptedPlatform::Press(int button) {
    input_.ButtonDown(button);
    Wake();
}

void ScriptedPlatform::Release(int button) {
    input_.ButtonUp(button);
    Wake();
}

void ScriptedPlatform::KeyDown(int key) {
    input_.KeyDown(key);
    Wake();
}

void ScriptedPlatform::KeyUp(int key) {
    input_.KeyUp(key);
    Wake();
}

void ScriptedPlatform::TurnWheel(int steps) {
    input_.Wheel(steps);
    Wake();
}

std::string ScriptedPlatform::Answer(std::deque<std::string>& queue, DialogRecord& record) {
    if (queue.empty()) {
        record.unanswered = true;
        return "";
    }
    std::string answer = std::move(queue.front());
    queue.pop_front();
    return answer;
}

std::string ScriptedPlatform::OpenFileDialog(const std::string& filter, const std::string& defaultName,
                                             const std::string& folder, const std::string& title) {
    DialogRecord record{DialogKind::Open, filter, defaultName, folder, title, "", false, false};
    std::string answer = Modal([&] { return Answer(openAnswers_, record); });
    // The open dialog only returns a file that exists.
    std::error_code error;
    if (!answer.empty() && !std::filesystem::is_regular_file(answer, error))
        answer.clear();
    record.answer = answer;
    dialogs_.push_back(record);
    return answer;
}

std::string ScriptedPlatform::SaveFileDialog(const std::string& filter, const std::string& defaultName,
                                             const std::string& folder, const std::string& title) {
    DialogRecord record{DialogKind::Save, filter, defaultName, folder, title, "", false, false};
    std::string answer = Modal([&] { return Answer(saveAnswers_, record); });
    if (!answer.empty()) {
        // A name typed without an extension gets the filter's default one, as the system dialog does.
        answer = Dialog_WithDefaultExtension(answer, Dialog_DefaultExtension(filter));
        std::error_code error;
        record.overwritePrompted = std::filesystem::exists(answer, error);
    }
    record.answer = answer;
    dialogs_.push_back(record);
    return answer;
}

void ScriptedPlatform::ShowMessage(const std::string& text, const std::string& caption) {
    Modal([&] { boxes_.push_back(BoxRecord{text, caption, false, false}); });
}

bool ScriptedPlatform::ShowQuestion(const std::string& text, const std::string& caption) {
    const bool yes = Modal([&] {
        bool answer = false; // an unqueued question is answered No
        if (!questionAnswers_.empty()) {
            answer = questionAnswers_.front();
            questionAnswers_.pop_front();
        }
        return answer;
    });
    boxes_.push_back(BoxRecord{text, caption, true, yes});
    return yes;
}

SDL_Color ScriptedPlatform::Pixel(int x, int y) const {
    SDL_Color colour{0, 0, 0, 0};
    if (!surface_ || x < 0 || y < 0 || x >= surface_->w || y >= surface_->h)
        return colour;
    const auto* row = static_cast<const uint8_t*>(surface_->pixels) + size_t(y) * size_t(surface_->pitch);
    const uint32_t value = reinterpret_cast<const uint32_t*>(row)[x];
    SDL_GetRGBA(value, surface_->format, &colour.r, &colour.g, &colour.b, &colour.a);
    return colour;
}

uint64_t ScriptedPlatform::PictureHash() const {
    if (!surface_)
        return 0;
    uint64_t hash = 14695981039346656037ull;
    for (int y = 0; y < surface_->h; ++y) {
        const auto* row = static_cast<const uint8_t*>(surface_->pixels) + size_t(y) * size_t(surface_->pitch);
        for (size_t i = 0; i < size_t(surface_->w) * 4; ++i) {
            hash ^= row[i];
            hash *= 1099511628211ull;
        }
    }
    return hash;
}
