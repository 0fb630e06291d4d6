#include "platform/desktop/Desktop_BusyWindow.h"

BusyWindowService::Offered::Offered(BusyWindowService& service, SDL_Window* window, int scale)
    : service_(service) {
    // A wait inside a wait (stopping the call asks and calls out itself) leaves the outer one's offer.
    if (window == nullptr || service.busy_.dragBandHeight <= 0 || service.window_ != nullptr)
        return;
    owner_ = true;
    service.window_ = window;
    service.scale_ = scale;
    service.closeClicked_ = false;
    SDL_SetWindowHitTest(window, HitTest, &service);
}

BusyWindowService::Offered::~Offered() {
    if (!owner_)
        return;
    SDL_SetWindowHitTest(service_.window_, nullptr, nullptr);
    service_.window_ = nullptr;
}

// Window pixels in; the band draggable but for its close button, which takes clicks.
SDL_HitTestResult BusyWindowService::HitTest(SDL_Window*, const SDL_Point* point, void* data) {
    const auto& service = *static_cast<const BusyWindowService*>(data);
    const int x = point->x / service.scale_, y = point->y / service.scale_;
    return y < service.busy_.dragBandHeight && !service.OnCloseButton(x, y) ? SDL_HITTEST_DRAGGABLE
                                                                            : SDL_HITTEST_NORMAL;
}

bool BusyWindowService::OnCloseButton(int x, int y) const {
    int width = 0, height = 0;
    SDL_GetWindowSize(window_, &width, &height);
    return y >= 0 && y < busy_.dragBandHeight && x >= width / scale_ - busy_.closeButtonWidth &&
           x < width / scale_;
}

void BusyWindowService::Notice(const SDL_Event& event) {
    if (window_ != nullptr && event.type == SDL_MOUSEBUTTONUP && event.button.button == SDL_BUTTON_LEFT &&
        OnCloseButton(event.button.x / scale_, event.button.y / scale_))
        closeClicked_ = true;
}

void BusyWindowService::AnswerClose(int quitSignal) {
    if (quitSignal != 0 && !stopped_ && busy_.stopFor) {
        stopped_ = true;
        busy_.stopFor(quitSignal);
        return;
    }
    if (!closeClicked_ || asking_ || stopped_ || !busy_.closeAsked)
        return;
    closeClicked_ = false;
    asking_ = true;
    busy_.closeAsked();
    asking_ = false;
}
