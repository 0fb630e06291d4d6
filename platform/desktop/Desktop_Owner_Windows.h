// The main window as the owner of dialogs and boxes, so they stay above it and it waits for them.
#pragma once
#include <windows.h>

HWND Desktop_OwnerWindow();

// While it lives, the next window this thread activates that `owner` owns (a file dialog, a box) is
// moved to the middle of `owner`, inside its screen's work area: the common file dialogs open at the
// owner's top-left corner otherwise.
class Desktop_CentreOverOwner {
  public:
    explicit Desktop_CentreOverOwner(HWND owner);
    ~Desktop_CentreOverOwner();
    Desktop_CentreOverOwner(const Desktop_CentreOverOwner&) = delete;
    Desktop_CentreOverOwner& operator=(const Desktop_CentreOverOwner&) = delete;

  private:
    HHOOK hook_;
};
