#include "platform/desktop/Desktop_Platform.h"
#include "platform/Platform_Clock.h"
#include "platform/Platform_Log.h"
#include "platform/desktop/Desktop_DialogOwner.h"
#include "platform/desktop/Desktop_Keys.h"
#include "platform/desktop/Desktop_ModalWait.h"
#include "platform/desktop/Desktop_Scale.h"
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
// A changed frame of a small fixed window costs the software renderer little (bench/graphics), while
// an OpenGL context costs tens of megabytes and a slower start: where there is no graphics card Mesa
// loads its LLVM compiler to draw a few sprites. Accelerated drawing is for big or resizable windows.
constexpr int SoftwarePixelLimit = 1280 * 720;

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

// Asking for a renderer by name (SDL_RENDER_DRIVER) overrides the choice.
bool PreferSoftware(const WindowRequest& request) {
    return SDL_GetHint(SDL_HINT_RENDER_DRIVER) == nullptr && !request.resizable &&
           request.width * request.height <= SoftwarePixelLimit;
}

SDL_Renderer* MakeRenderer(SDL_Window* window, bool software) {
    if (software) {
        // Or SDL would put an OpenGL texture behind the window's surface.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        return SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_TARGETTEXTURE);
    }
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_TARGETTEXTURE);
    if (renderer == nullptr) {
        Platform_Log("No accelerated renderer (%s); drawing in software\n", SDL_GetError());
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_TARGETTEXTURE);
    }
    return renderer;
}

// Drivers that draw nowhere a user can see: SDL falls back to them when no display can be opened.
bool ShowsNothing(const char* driver) {
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    const bool chosen = asked != nullptr && *asked != '\0';
    return !chosen && driver != nullptr &&
           (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

constexpr const char* NoDisplay = "no display (neither DISPLAY nor WAYLAND_DISPLAY leads to one)";

// The driver the environment points to: nullptr lets SDL choose (a driver was asked for, or there is
// a Wayland display), "" means there is no display at all. Without a Wayland display SDL would try
// the Wayland driver after a failed X one, and its client library prints an error of its own. Windows
// always has its desktop (under Wine too, whatever DISPLAY says).
#ifdef _WIN32
const char* DriverFromEnvironment() {
    return nullptr;
}
#else
bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

const char* DriverFromEnvironment() {
    if (Set("SDL_VIDEODRIVER") || Set("WAYLAND_DISPLAY"))
        return nullptr;
    return Set("DISPLAY") ? "x11" : "";
}
#endif

bool NeedsRepaint(uint8_t windowEvent) {
    switch (windowEvent) {
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_FOCUS_GAINED:
    case SDL_WINDOWEVENT_FOCUS_LOST:
        return true;
    default:
        return false;
    }
}

// The window takes no typed text, so X's input method needs no compose table: reading the locale's
// (thousands of lines) was a third of the work before the first frame. A table the user names is
// still read; the programs started later see the environment as it was.
int InitVideo() {
#ifdef _WIN32
    return SDL_InitSubSystem(SDL_INIT_VIDEO);
#else
    const bool composeNamed = std::getenv("XCOMPOSEFILE") != nullptr;
    if (!composeNamed)
        setenv("XCOMPOSEFILE", "/dev/null", 1);
    const int started = SDL_InitSubSystem(SDL_INIT_VIDEO);
    if (!composeNamed)
        unsetenv("XCOMPOSEFILE");
    return started;
#endif
}
} // namespace

DesktopPlatform::~DesktopPlatform() {
    Desktop_SetDialogOwner(nullptr);
    if (DisplayBroke()) {
        // Destroying the window waits for the server's answer, which a broken display never gives, and
        // closing it ends the program; what they hold goes with the process.
        (void)renderer_.release();
        (void)frame_.release();
        (void)window_.release();
        return;
    }
    renderer_.reset();
    frame_.reset();
    window_.reset();
    if (videoStarted_)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool DesktopPlatform::CannotOpenWindow(const std::string& why) {
    windowFailure_ = "Cannot open a window: " + why;
    Platform_Log("%s\n", windowFailure_.c_str());
    return false;
}

bool DesktopPlatform::StartVideo() {
    if (videoStarted_)
        return true;
    // A tool's window is no reason to keep the screen awake (SDL would, as for a game).
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    const char* driver = DriverFromEnvironment();
    if (driver != nullptr && *driver == '\0')
        return CannotOpenWindow(NoDisplay);
    if (driver != nullptr)
        SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
    if (InitVideo() != 0)
        return CannotOpenWindow(driver != nullptr
                                    ? "no display at DISPLAY=" + std::string(std::getenv("DISPLAY"))
                                    : std::string(SDL_GetError()));
    videoStarted_ = true;
    if (ShowsNothing(SDL_GetCurrentVideoDriver()))
        return CannotOpenWindow(NoDisplay);
    return true;
}

bool DesktopPlatform::CreateWindow(const WindowRequest& request) {
    // A click on the unfocused window is a click, as on the system the tool was made for.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    if (!StartVideo())
        return false;
    // Shown with its first picture (Reveal), at its size on this desktop.
    uint32_t flags = SDL_WINDOW_HIDDEN;
    if (request.borderless)
        flags |= SDL_WINDOW_BORDERLESS;
    if (request.resizable)
        flags |= SDL_WINDOW_RESIZABLE;
    window_.reset(SDL_CreateWindow(request.caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                   request.width, request.height, flags));
    if (!window_) {
        return CannotOpenWindow(SDL_GetError());
    }
    scale_ = askedScale_ > 0 ? askedScale_ : Desktop_Scale(window_.get(), request.width, request.height);
    if (scale_ > 1) {
        SDL_SetWindowSize(window_.get(), request.width * scale_, request.height * scale_);
        SDL_SetWindowPosition(window_.get(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
        // The runtime draws the room's size into a picture of its own, which Present enlarges by
        // whole pixels: every room pixel a square of one colour, whatever the drawing interpolates.
        // The window's own surface then takes it (with no OpenGL texture behind it).
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        frame_.reset(
            SDL_CreateRGBSurfaceWithFormat(0, request.width, request.height, 32, SDL_PIXELFORMAT_ARGB8888));
        if (frame_)
            SDL_SetSurfaceBlendMode(frame_.get(), SDL_BLENDMODE_NONE); // copied, not laid over the last one
        renderer_.reset(frame_ ? SDL_CreateSoftwareRenderer(frame_.get()) : nullptr);
    } else {
        renderer_.reset(MakeRenderer(window_.get(), PreferSoftware(request)));
    }
    if (!renderer_) {
        window_.reset();
        return CannotOpenWindow(SDL_GetError());
    }
#ifdef _WIN32
    Reveal();
#endif
    messages_.Attach(window_.get());
    Desktop_SetDialogOwner(window_.get());
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(renderer_.get(), &info);
    Platform_Log("Renderer: %s\n", info.name);
    return true;
}

// Shown with its first picture, where the room's start put it: a remembered place is taken before
// anyone sees the window, which never jumps there from the centre. Windows shows it as it is made:
// under Wine a window first shown after its first frame handed the keyboard to its file dialog late.
void DesktopPlatform::Reveal() {
    if (!revealed_ && window_) {
        SDL_ShowWindow(window_.get());
        revealed_ = true;
    }
}

void DesktopPlatform::Present() {
    Reveal();
    SDL_RenderPresent(renderer_.get());
    if (!frame_)
        return;
    SDL_Surface* screen = SDL_GetWindowSurface(window_.get());
    // Between surfaces of one format SDL stretches by repeating pixels.
    if (screen != nullptr && SDL_BlitScaled(frame_.get(), nullptr, screen, nullptr) == 0)
        SDL_UpdateWindowSurface(window_.get());
}

void DesktopPlatform::SetCaption(const std::string& caption) {
    SDL_SetWindowTitle(window_.get(), caption.c_str());
}

std::string DesktopPlatform::Caption() {
    return window_ ? SDL_GetWindowTitle(window_.get()) : "";
}

// Positions and sizes go to the runtime in room units: screen pixels divided by the scale.
void DesktopPlatform::WindowPosition(int& x, int& y) {
    SDL_GetWindowPosition(window_.get(), &x, &y);
    x /= scale_;
    y /= scale_;
}

void DesktopPlatform::WindowSize(int& width, int& height) {
    SDL_GetWindowSize(window_.get(), &width, &height);
    width /= scale_;
    height /= scale_;
}

void DesktopPlatform::SetWindowPosition(int x, int y) {
    SDL_SetWindowPosition(window_.get(), x * scale_, y * scale_);
}

bool DesktopPlatform::PositionVisible(int x, int y) {
    int width = 0, height = 0;
    SDL_GetWindowSize(window_.get(), &width, &height);
    const SDL_Point middle{x * scale_ + width / 2, y * scale_};
    for (int display = 0; display < SDL_GetNumVideoDisplays(); ++display) {
        SDL_Rect bounds{};
        if (SDL_GetDisplayBounds(display, &bounds) == 0 && SDL_PointInRect(&middle, &bounds))
            return true;
    }
    return false;
}

bool DesktopPlatform::HasFocus() {
    return window_ && (SDL_GetWindowFlags(window_.get()) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

void DesktopPlatform::Focus() {
    SDL_RaiseWindow(window_.get());
    SDL_SetWindowInputFocus(window_.get());
}

void DesktopPlatform::SetCallbacks(PlatformCallbacks callbacks) {
    callbacks_ = std::move(callbacks);
    input_.waitEnded = callbacks_.modalWaitEnded;
}

void DesktopPlatform::SetCursor(int cursor) {
    cursor_ = cursor;
    cursors_.Show(cursor);
}

void DesktopPlatform::HandleEvent(const SDL_Event& event) {
    busy_.Notice(event);
    switch (event.type) {
    case SDL_QUIT:
        quit_ = true;
        break;
    case SDL_MOUSEMOTION:
        input_.PointerAt(event.motion.x / scale_, event.motion.y / scale_);
        break;
    case SDL_MOUSEBUTTONDOWN:
        input_.ButtonDown(RuntimeButton(event.button.button));
        break;
    case SDL_MOUSEBUTTONUP:
        input_.ButtonUp(RuntimeButton(event.button.button));
        break;
    case SDL_KEYDOWN: {
        const int key = Desktop_KeyCode(event.key.keysym.sym);
        if (!event.key.repeat || Desktop_KeyRepeats(key))
            input_.KeyDown(key);
        break;
    }
    case SDL_KEYUP:
        input_.KeyUp(Desktop_KeyCode(event.key.keysym.sym));
        break;
    case SDL_MOUSEWHEEL:
        input_.Wheel(event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y);
        break;
    case SDL_WINDOWEVENT:
        if (NeedsRepaint(event.window.event) && callbacks_.repaint)
            callbacks_.repaint();
        break;
    // A drop made during a modal wait is input for the window like a click, and dropped too. Dropped
    // text is handed in as well: the tool answers it as any other file it cannot take.
    case SDL_DROPFILE:
    case SDL_DROPTEXT:
        if (!input_.InModalWait())
            dropped_.emplace_back(event.drop.file);
        SDL_free(event.drop.file);
        break;
    default:
        break;
    }
}

bool DesktopPlatform::PumpMessages() {
    messages_.ClearWake();
    if (quitSignals_.Received() && !quit_) {
        quit_ = true;
        Desktop_EndDialogs();
    }
    if (messages_.MayHaveMessages()) {
        lastTraffic_ = NowMicros();
        SDL_Event event;
        while (SDL_PollEvent(&event))
            HandleEvent(event);
    }
    if (messages_.WatchedReady())
        TakeHandoffs();
    return !quit_;
}

void DesktopPlatform::AcceptHandoffs(intptr_t knock, std::function<bool(std::vector<std::string>&)> receive) {
    receiveHandoff_ = std::move(receive);
    messages_.Watch(knock);
}

// Unlike a drop, a handed file is no input for the window: one that comes during a modal wait is kept.
void DesktopPlatform::TakeHandoffs() {
    bool knocked = false;
    while (receiveHandoff_(dropped_))
        knocked = true;
    if (knocked && window_) {
        if (SDL_GetWindowFlags(window_.get()) & SDL_WINDOW_MINIMIZED)
            SDL_RestoreWindow(window_.get());
        Focus();
    }
}

bool DesktopPlatform::AwaitMessages(int64_t micros) {
    if (messages_.CanWait())
        return messages_.Await(micros);
    // Without a connection to wait on, short naps keep the window answering.
    constexpr int64_t LongestNap = 2000;
    SleepMicros(std::min(micros, LongestNap));
    return true;
}

// SDL's X backend holds a change of focus back for 200 ms and hands it out at a pump after that, with no
// message of its own to wake a wait: after display traffic the wait is a bounded one until then.
// A message Xlib read while the frame asked the server something (the pointer) waits in its queue, where
// no wait on the connection sees it.
bool DesktopPlatform::AwaitChange() {
    if (messages_.MayHaveMessages())
        return true;
    constexpr int64_t HeldFocusMicros = 250'000;
    const int64_t held = lastTraffic_ + HeldFocusMicros - NowMicros();
    if (held > 0)
        messages_.Await(held);
    else
        messages_.AwaitAnything();
    return true;
}

InputState DesktopPlatform::TakeInput() {
    // Outside the window no motion arrives while no button is held: the window position then comes
    // from the pointer on the desktop.
    if (window_ && SDL_GetMouseFocus() != window_.get()) {
        int x = 0, y = 0, windowX = 0, windowY = 0;
        SDL_GetGlobalMouseState(&x, &y);
        SDL_GetWindowPosition(window_.get(), &windowX, &windowY);
        input_.PointerAt((x - windowX) / scale_, (y - windowY) / scale_);
    }
    return input_.Take();
}

void DesktopPlatform::DisplayMouse(int& x, int& y) {
    SDL_GetGlobalMouseState(&x, &y);
    x /= scale_;
    y /= scale_;
}

int64_t DesktopPlatform::NowMicros() {
    return Platform_SteadyMicros();
}

void DesktopPlatform::SleepMicros(int64_t micros) {
    Platform_SleepMicros(micros);
}
