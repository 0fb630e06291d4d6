#include "platform/desktop/Desktop_Platform.h"
#include "Graphics/Graphics_Window.h"
#include "Graphics_API/Graphics_API.h"
#include "Runner/Runner_Log.h"
#include <cerrno>
#include <chrono>
#include <ctime>

namespace {
int RuntimeButton(uint8_t sdlButton) {
    switch (sdlButton) {
    case SDL_BUTTON_LEFT:
        return 1;
    case SDL_BUTTON_RIGHT:
        return 2;
    case SDL_BUTTON_MIDDLE:
        return 3;
    default:
        return 0;
    }
}

SDL_Renderer* MakeRenderer(SDL_Window* window) {
    SDL_Renderer* renderer =
        SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_TARGETTEXTURE);
    if (renderer == nullptr) {
        Runner_Log("No accelerated renderer (%s); drawing in software\n", SDL_GetError());
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_TARGETTEXTURE);
    }
    return renderer;
}
} // namespace

DesktopPlatform::~DesktopPlatform() {
    // The renderer takes its textures with it; the graphics layer must not hold them afterwards.
    if (renderer_ && Graphics_Renderer() == renderer_.get())
        Graphics_Shutdown();
    renderer_.reset();
    window_.reset();
    if (videoStarted_)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool DesktopPlatform::CreateWindow(const WindowRequest& request) {
    // A click on the unfocused window is a click, as on the system the tool was made for.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    if (!videoStarted_) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            Runner_Log("Cannot start the video system: %s\n", SDL_GetError());
            return false;
        }
        videoStarted_ = true;
    }
    uint32_t flags = SDL_WINDOW_SHOWN;
    if (request.borderless)
        flags |= SDL_WINDOW_BORDERLESS;
    if (request.resizable)
        flags |= SDL_WINDOW_RESIZABLE;
    window_.reset(SDL_CreateWindow(request.caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                   request.width, request.height, flags));
    if (!window_) {
        Runner_Log("Cannot create the window: %s\n", SDL_GetError());
        return false;
    }
    renderer_.reset(MakeRenderer(window_.get()));
    if (!renderer_) {
        Runner_Log("Cannot create a renderer: %s\n", SDL_GetError());
        window_.reset();
        return false;
    }
    return true;
}

void DesktopPlatform::Present() {
    SDL_RenderPresent(renderer_.get());
}

void DesktopPlatform::SetCaption(const std::string& caption) {
    SDL_SetWindowTitle(window_.get(), caption.c_str());
}

std::string DesktopPlatform::Caption() {
    return window_ ? SDL_GetWindowTitle(window_.get()) : "";
}

void DesktopPlatform::WindowPosition(int& x, int& y) {
    SDL_GetWindowPosition(window_.get(), &x, &y);
}

void DesktopPlatform::WindowSize(int& width, int& height) {
    SDL_GetWindowSize(window_.get(), &width, &height);
}

void DesktopPlatform::SetWindowPosition(int x, int y) {
    SDL_SetWindowPosition(window_.get(), x, y);
}

bool DesktopPlatform::HasFocus() {
    return window_ && (SDL_GetWindowFlags(window_.get()) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

void DesktopPlatform::Focus() {
    SDL_RaiseWindow(window_.get());
    SDL_SetWindowInputFocus(window_.get());
}

void DesktopPlatform::HandleEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_QUIT:
        quit_ = true;
        break;
    case SDL_MOUSEMOTION:
        collected_.windowMouseX = event.motion.x;
        collected_.windowMouseY = event.motion.y;
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (const int b = RuntimeButton(event.button.button); b != 0 && !collected_.buttonHeld[b]) {
            collected_.buttonHeld[b] = true;
            ++collected_.buttonPresses[b];
        }
        break;
    case SDL_MOUSEBUTTONUP:
        // A release for a button we do not consider held (after a dialog) is no edge.
        if (const int b = RuntimeButton(event.button.button); b != 0 && collected_.buttonHeld[b]) {
            collected_.buttonHeld[b] = false;
            ++collected_.buttonReleases[b];
        }
        break;
    case SDL_MOUSEWHEEL: {
        const int steps = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
        if (steps > 0)
            collected_.wheelUp += steps;
        else
            collected_.wheelDown -= steps;
        break;
    }
    case SDL_DROPFILE:
        dropped_.emplace_back(event.drop.file);
        SDL_free(event.drop.file);
        break;
    default:
        break;
    }
}

bool DesktopPlatform::PumpMessages() {
    SDL_Event event;
    while (SDL_PollEvent(&event))
        HandleEvent(event);
    return !quit_;
}

InputState DesktopPlatform::TakeInput() {
    InputState taken = collected_;
    for (int b = 0; b < 4; ++b)
        collected_.buttonPresses[b] = collected_.buttonReleases[b] = 0;
    collected_.wheelUp = collected_.wheelDown = 0;
    return taken;
}

void DesktopPlatform::ClearInput() {
    const int x = collected_.windowMouseX, y = collected_.windowMouseY;
    collected_ = InputState{};
    collected_.windowMouseX = x;
    collected_.windowMouseY = y;
}

void DesktopPlatform::DisplayMouse(int& x, int& y) {
    SDL_GetGlobalMouseState(&x, &y);
}

int64_t DesktopPlatform::NowMicros() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::microseconds>(now).count();
}

void DesktopPlatform::SleepMicros(int64_t micros) {
    if (micros <= 0)
        return;
    timespec wanted{time_t(micros / 1'000'000), long(micros % 1'000'000) * 1000L};
    timespec left{};
    while (nanosleep(&wanted, &left) != 0 && errno == EINTR)
        wanted = left;
}
