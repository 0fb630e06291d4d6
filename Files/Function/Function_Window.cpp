// Window, pointer, mouse buttons, GUI size and surface built-ins, and the mouse and surface variables.
#include "Code/Code_Function.h"
#include "Function/Function_Families.h"
#include "Graphics/Graphics_Input.h"
#include "Graphics/Graphics_Surface.h"
#include "Graphics/Graphics_Window.h"
#include "Runner/Runner_Quiet.h"
#include "Variable/Variable_BuiltIn.h"
#include "platform/Platform.h"

namespace {
constexpr int MouseDevice = 0;

using Answer = bool (*)(int button);

// The mouse is device 0; other devices have no buttons.
bool DeviceAnswer(int argc, RValue* args, Answer answer) {
    return ArgInt(argc, args, 0) == MouseDevice && answer(ArgInt(argc, args, 1));
}

void window_get_x(RValue& result, CInstance*, CInstance*, int, RValue*) {
    int x = 0, y = 0;
    CurrentPlatform().WindowPosition(x, y);
    result = RValue(x);
}

void window_get_y(RValue& result, CInstance*, CInstance*, int, RValue*) {
    int x = 0, y = 0;
    CurrentPlatform().WindowPosition(x, y);
    result = RValue(y);
}

void window_get_width(RValue& result, CInstance*, CInstance*, int, RValue*) {
    int width = 0, height = 0;
    CurrentPlatform().WindowSize(width, height);
    result = RValue(width);
}

void window_get_height(RValue& result, CInstance*, CInstance*, int, RValue*) {
    int width = 0, height = 0;
    CurrentPlatform().WindowSize(width, height);
    result = RValue(height);
}

// Putting the window where it is, as a drag with the pointer held still does every frame, changes nothing.
void window_set_position(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    Platform& platform = CurrentPlatform();
    int x = 0, y = 0;
    platform.WindowPosition(x, y);
    if (x != ArgInt(argc, args, 0) || y != ArgInt(argc, args, 1))
        Runner_MarkFrame("window_set_position");
    platform.SetWindowPosition(ArgInt(argc, args, 0), ArgInt(argc, args, 1));
    result = RValue(0.0);
}

void window_position_visible(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    Runner_MarkFrame("window_position_visible");
    result =
        RValue(CurrentPlatform().PositionVisible(ArgInt(argc, args, 0), ArgInt(argc, args, 1)) ? 1.0 : 0.0);
}

void window_has_focus(RValue& result, CInstance*, CInstance*, int, RValue*) {
    result = RValue(CurrentPlatform().HasFocus() ? 1.0 : 0.0);
}

void window_mouse_get_x(RValue& result, CInstance*, CInstance*, int, RValue*) {
    result = RValue(Input_WindowMouseX());
}

void window_mouse_get_y(RValue& result, CInstance*, CInstance*, int, RValue*) {
    result = RValue(Input_WindowMouseY());
}

// The tool sets the hand every frame the pointer rests on a button: only another shape is a change.
void window_set_cursor(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    const int cursor = ArgInt(argc, args, 0);
    Runner_NoteCursor(cursor);
    CurrentPlatform().SetCursor(cursor);
    result = RValue(0.0);
}

void display_mouse_get_x(RValue& result, CInstance*, CInstance*, int, RValue*) {
    int x = 0, y = 0;
    CurrentPlatform().DisplayMouse(x, y);
    result = RValue(x);
}

void display_mouse_get_y(RValue& result, CInstance*, CInstance*, int, RValue*) {
    int x = 0, y = 0;
    CurrentPlatform().DisplayMouse(x, y);
    result = RValue(y);
}

void display_set_gui_size(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    Runner_MarkFrame("display_set_gui_size");
    Graphics_SetGuiSize(ArgInt(argc, args, 0), ArgInt(argc, args, 1));
    result = RValue(0.0);
}

void display_get_gui_width(RValue& result, CInstance*, CInstance*, int, RValue*) {
    result = RValue(Graphics_GuiWidth());
}

void display_get_gui_height(RValue& result, CInstance*, CInstance*, int, RValue*) {
    result = RValue(Graphics_GuiHeight());
}

void mouse_check_button(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    result = RValue(Input_ButtonHeld(ArgInt(argc, args, 0)) ? 1.0 : 0.0);
}

void mouse_check_button_pressed(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    result = RValue(Input_ButtonPressed(ArgInt(argc, args, 0)) ? 1.0 : 0.0);
}

void mouse_check_button_released(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    result = RValue(Input_ButtonReleased(ArgInt(argc, args, 0)) ? 1.0 : 0.0);
}

void device_mouse_check_button(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    result = RValue(DeviceAnswer(argc, args, Input_ButtonHeld) ? 1.0 : 0.0);
}

void device_mouse_check_button_pressed(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    result = RValue(DeviceAnswer(argc, args, Input_ButtonPressed) ? 1.0 : 0.0);
}

void device_mouse_check_button_released(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    result = RValue(DeviceAnswer(argc, args, Input_ButtonReleased) ? 1.0 : 0.0);
}

void keyboard_check(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    result = RValue(Input_KeyHeld(ArgInt(argc, args, 0)) ? 1.0 : 0.0);
}

void keyboard_check_pressed(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    result = RValue(Input_KeyPressed(ArgInt(argc, args, 0)) ? 1.0 : 0.0);
}

void mouse_wheel_up(RValue& result, CInstance*, CInstance*, int, RValue*) {
    result = RValue(Input_WheelUp() ? 1.0 : 0.0);
}

void mouse_wheel_down(RValue& result, CInstance*, CInstance*, int, RValue*) {
    result = RValue(Input_WheelDown() ? 1.0 : 0.0);
}

void surface_exists(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    result = RValue(Surface_Exists(ArgInt(argc, args, 0)) ? 1.0 : 0.0);
}

void surface_get_width(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    result = RValue(Surface_Width(ArgInt(argc, args, 0)));
}

void surface_get_height(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    result = RValue(Surface_Height(ArgInt(argc, args, 0)));
}

void surface_resize(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    Runner_MarkFrame("surface_resize");
    Surface_Resize(ArgInt(argc, args, 0), ArgInt(argc, args, 1), ArgInt(argc, args, 2));
    result = RValue(0.0);
}

void RegisterVariables() {
    Variable_BuiltIn_Add(
        "mouse_x", [](CInstance*, int, RValue& out) { out = RValue(Input_RoomMouseX()); }, nullptr);
    Variable_BuiltIn_Add(
        "mouse_y", [](CInstance*, int, RValue& out) { out = RValue(Input_RoomMouseY()); }, nullptr);
    Variable_BuiltIn_Add(
        "application_surface", [](CInstance*, int, RValue& out) { out = RValue(ApplicationSurfaceId); },
        nullptr);
}
} // namespace

void Register_Window() {
    Function_Add("window_get_x", window_get_x, 0);
    Function_Add("window_get_y", window_get_y, 0);
    Function_Add("window_get_width", window_get_width, 0);
    Function_Add("window_get_height", window_get_height, 0);
    Function_Add("window_set_position", window_set_position, 2);
    Function_Add("window_position_visible", window_position_visible, 2);
    Function_Add("window_has_focus", window_has_focus, 0);
    Function_Add("window_mouse_get_x", window_mouse_get_x, 0);
    Function_Add("window_mouse_get_y", window_mouse_get_y, 0);
    Function_Add("window_set_cursor", window_set_cursor, 1);
    Function_Add("display_mouse_get_x", display_mouse_get_x, 0);
    Function_Add("display_mouse_get_y", display_mouse_get_y, 0);
    Function_Add("display_set_gui_size", display_set_gui_size, 2);
    Function_Add("display_get_gui_width", display_get_gui_width, 0);
    Function_Add("display_get_gui_height", display_get_gui_height, 0);
    Function_Add("mouse_check_button", mouse_check_button, 1);
    Function_Add("mouse_check_button_pressed", mouse_check_button_pressed, 1);
    Function_Add("mouse_check_button_released", mouse_check_button_released, 1);
    Function_Add("device_mouse_check_button", device_mouse_check_button, 2);
    Function_Add("device_mouse_check_button_pressed", device_mouse_check_button_pressed, 2);
    Function_Add("device_mouse_check_button_released", device_mouse_check_button_released, 2);
    Function_Add("mouse_wheel_up", mouse_wheel_up, 0);
    Function_Add("keyboard_check", keyboard_check, 1);
    Function_Add("keyboard_check_pressed", keyboard_check_pressed, 1);
    Function_Add("mouse_wheel_down", mouse_wheel_down, 0);
    Function_Add("surface_exists", surface_exists, 1);
    Function_Add("surface_get_width", surface_get_width, 1);
    Function_Add("surface_get_height", surface_get_height, 1);
    Function_Add("surface_resize", surface_resize, 3);
    RegisterVariables();
}
