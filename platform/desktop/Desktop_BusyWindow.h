// While a blocking call keeps the window waiting, the user can still drag it by its top band and
// close it with its close button (which asks first): what the window offers (BusyWindow) is served
// here, with SDL's hit test for the drag, so no frame of the program needs to run.
#pragma once
#include "platform/Platform.h"
#include <SDL2/SDL.h>

class BusyWindowService {
  public:
    void Set(BusyWindow busy) { busy_ = std::move(busy); }

    // For as long as it lives, the offer stands for `window`, drawn at `scale` pixels a room unit.
    class Offered {
      public:
        Offered(BusyWindowService& service, SDL_Window* window, int scale);
        ~Offered();
        Offered(const Offered&) = delete;
        Offered& operator=(const Offered&) = delete;

      private:
        BusyWindowService& service_;
        bool owner_ = false;
    };

    // Any event of the window: a left click released on the close button is noted while offered.
    void Notice(const SDL_Event& event);
    // Outside event handling: a noted click calls closeAsked, once at a time; a quit signal (0: none)
    // calls stopFor, once.
    void AnswerClose(int quitSignal);

  private:
    static SDL_HitTestResult HitTest(SDL_Window* window, const SDL_Point* point, void* service);
    bool OnCloseButton(int x, int y) const;

    BusyWindow busy_;
    SDL_Window* window_ = nullptr; // while offered
    int scale_ = 1;
    bool closeClicked_ = false;
    bool asking_ = false;
    bool stopped_ = false;
};
