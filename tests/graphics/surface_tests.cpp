// The application surface, the GUI layer and the mapping of the pointer into the room.
#include "Graphics_API/Graphics_API.h"
#include "graphics_fixture.h"

namespace {
class SurfaceTest : public GraphicsTest {};

TEST_F(SurfaceTest, ApplicationSurfaceStartsAtTheWindowSizeAndResizesAtTheNextFrame) {
    const RValue surface = Variable("application_surface");
    EXPECT_EQ(Real("surface_exists", {surface}), 1);
    EXPECT_EQ(Real("surface_exists", {surface.AsReal() + 1}), 0);
    EXPECT_EQ(Real("surface_get_width", {surface}), WindowWidth);
    EXPECT_EQ(Real("surface_get_height", {surface}), WindowHeight);
    Call("surface_resize", {surface, double(WindowWidth / 2), double(WindowHeight / 2)});
    EXPECT_EQ(Real("surface_get_width", {surface}), WindowWidth / 2);
    EXPECT_EQ(Real("surface_get_height", {surface}), WindowHeight / 2);
    // One surface pixel now covers two window pixels each way (smoothed at the block's rim).
    DrawFrame([&] {
        Call("draw_set_colour", {double(0xFFFFFF)});
        Call("draw_rectangle", {10.0, 10.0, 13.0, 13.0, 0.0});
    });
    EXPECT_TRUE(ColourIs(Pixel(22, 22), 255, 255, 255));
    EXPECT_TRUE(ColourIs(Pixel(25, 25), 255, 255, 255));
    EXPECT_TRUE(ColourIs(Pixel(17, 17), 0, 0, 0));
    EXPECT_TRUE(ColourIs(Pixel(30, 30), 0, 0, 0));
}

TEST_F(SurfaceTest, GuiLayerIsDrawnOverTheSurfaceAtItsOwnSize) {
    EXPECT_EQ(Real("display_get_gui_width", {}), WindowWidth);
    Call("display_set_gui_size", {double(WindowWidth / 2), double(WindowHeight / 2)});
    EXPECT_EQ(Real("display_get_gui_height", {}), WindowHeight / 2);
    DrawFrame(
        [&] {
            Call("draw_set_colour", {double(0x0000FF)});
            Call("draw_rectangle", {0.0, 0.0, 99.0, 59.0, 0.0});
        },
        [&] {
            Call("draw_set_colour", {double(0x00FF00)});
            Call("draw_rectangle", {5.0, 5.0, 5.0, 5.0, 0.0});
        });
    EXPECT_TRUE(ColourIs(Pixel(10, 10), 0, 255, 0));
    EXPECT_TRUE(ColourIs(Pixel(11, 11), 0, 255, 0));
    EXPECT_TRUE(ColourIs(Pixel(12, 12), 255, 0, 0));
    EXPECT_TRUE(ColourIs(Pixel(9, 9), 255, 0, 0));
}

TEST_F(SurfaceTest, PointerInRoomUnitsFollowsTheSurfaceAndTheView) {
    platform->SetPointer(40, 20);
    Input_Update();
    EXPECT_EQ(Variable("mouse_x").AsReal(), 40);
    EXPECT_EQ(Variable("mouse_y").AsReal(), 20);
    // A half-size surface showing the room at twice the scale of its port.
    Call("surface_resize",
         {Variable("application_surface"), double(WindowWidth / 2), double(WindowHeight / 2)});
    Graphics_BeginFrame();
    ASSERT_TRUE(Graphics_PrepareApplicationSurface());
    Graphics_TargetApplicationSurface();
    Graphics_SetView(0, 0, WindowWidth / 2, WindowHeight / 2, 100, 0, WindowWidth, WindowHeight);
    Graphics_TargetBackBuffer();
    Graphics_EndFrame(false);
    Input_Update();
    EXPECT_EQ(Variable("mouse_x").AsReal(), 140);
    EXPECT_EQ(Variable("mouse_y").AsReal(), 20);
    EXPECT_EQ(Real("window_mouse_get_x", {}), 40);
}

TEST_F(SurfaceTest, UnbalancedTargetsAreReported) {
    Graphics_BeginFrame();
    Graphics_TargetApplicationSurface();
    EXPECT_FALSE(Graphics_SurfaceStackBalanced());
    Graphics_TargetBackBuffer();
    EXPECT_TRUE(Graphics_SurfaceStackBalanced());
    Graphics_EndFrame(false);
}

TEST_F(SurfaceTest, BackgroundLayerFillsTheViewWithItsColourAndAlpha) {
    LayerData layer;
    layer.type = LayerType::Background;
    layer.colour = 0xFF221111; // blue 0x22, green 0x11, red 0x11, opaque
    DrawFrame([&] { Graphics_DrawBackground(layer); });
    EXPECT_TRUE(ColourIs(Pixel(0, 0), 0x11, 0x11, 0x22));
    EXPECT_TRUE(ColourIs(Pixel(WindowWidth - 1, WindowHeight - 1), 0x11, 0x11, 0x22));
    layer.visible = false;
    DrawFrame([&] { Graphics_DrawBackground(layer); });
    EXPECT_TRUE(ColourIs(Pixel(0, 0), 0, 0, 0));
}

TEST_F(SurfaceTest, WindowSpecFollowsTheInfoFlags) {
    GameData data = MakeTestData();
    EXPECT_TRUE(Graphics_WindowRequest(data).borderless);
    EXPECT_FALSE(Graphics_WindowRequest(data).resizable);
    data.general.infoFlags = 0x40;
    EXPECT_FALSE(Graphics_WindowRequest(data).borderless);
    EXPECT_TRUE(Graphics_WindowRequest(data).resizable);
    EXPECT_EQ(Graphics_WindowRequest(data).caption, "Test Game");
    EXPECT_EQ(Graphics_WindowRequest(data).width, WindowWidth);
}
} // namespace
