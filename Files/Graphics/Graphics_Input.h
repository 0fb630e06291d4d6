// The frame's input snapshot: every question asked during a frame gets the same answer.
#pragma once

// Buttons: 1 left, 2 right, 3 middle; -1 any button, 0 none.
bool Input_ButtonHeld(int button);
bool Input_ButtonPressed(int button);
bool Input_ButtonReleased(int button);
// Keys by key code (vk_*): held, or pressed since the last update.
bool Input_KeyHeld(int key);
bool Input_KeyPressed(int key);
bool Input_WheelUp();
bool Input_WheelDown();
// The pointer in window pixels, as taken at the latest update.
int Input_WindowMouseX();
int Input_WindowMouseY();
// The pointer in room units (mouse_x, mouse_y), mapped once at the update.
double Input_RoomMouseX();
double Input_RoomMouseY();
