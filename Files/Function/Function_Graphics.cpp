// Drawing built-ins: draw state, rectangles, sprites, text and their measures.
#include "Code/Code_Function.h"
#include "Function/Function_Families.h"
#include "Graphics/Graphics_Primitive.h"
#include "Graphics/Graphics_Sprite.h"
#include "Graphics/Graphics_State.h"
#include "Graphics/Graphics_Text.h"
#include "Graphics_API/Graphics_API.h"
#include "IO/IO_GameData.h"
#include "Object/Object_Class.h"
#include "Runner/Runner_Loop.h"
#include "Runner/Runner_Quiet.h"
#include <algorithm>

namespace {
uint32_t ArgColour(int argc, RValue* args, int i) {
    return static_cast<uint32_t>(static_cast<int64_t>(ArgReal(argc, args, i))) & 0xFFFFFF;
}

std::string ArgString(int argc, RValue* args, int i) {
    return i < argc ? ToDisplayString(args[i]) : "";
}

// A negative frame asks for the calling instance's own image_index.
double FrameFor(double frame, const CInstance* self) {
    if (frame >= 0 || self == nullptr)
        return frame;
    if (Runner_AnimationFreeRunning(self))
        Runner_MarkFrame("image_index");
    return self->imageIndex;
}

void draw_set_colour(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    Graphics_DrawState().colour = ArgColour(argc, args, 0);
    result = RValue(0.0);
}

void draw_set_alpha(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    Graphics_DrawState().alpha = std::clamp(ArgReal(argc, args, 0), 0.0, 1.0);
    result = RValue(0.0);
}

void draw_set_font(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    Graphics_DrawState().font = ArgInt(argc, args, 0);
    result = RValue(0.0);
}

void draw_set_halign(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    Graphics_DrawState().halign = std::clamp(ArgInt(argc, args, 0), 0, 2);
    result = RValue(0.0);
}

void draw_set_valign(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    Graphics_DrawState().valign = std::clamp(ArgInt(argc, args, 0), 0, 2);
    result = RValue(0.0);
}

void draw_rectangle(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    Primitive_Rectangle(ArgReal(argc, args, 0), ArgReal(argc, args, 1), ArgReal(argc, args, 2),
                        ArgReal(argc, args, 3), ArgReal(argc, args, 4) > 0.5);
    result = RValue(0.0);
}

void draw_sprite(RValue& result, CInstance* self, CInstance*, int argc, RValue* args) {
    SpritePlacement placement;
    placement.x = ArgReal(argc, args, 2);
    placement.y = ArgReal(argc, args, 3);
    placement.alpha = Graphics_DrawState().alpha;
    Sprite_Draw(ArgInt(argc, args, 0), FrameFor(ArgReal(argc, args, 1), self), placement);
    result = RValue(0.0);
}

void draw_sprite_ext(RValue& result, CInstance* self, CInstance*, int argc, RValue* args) {
    SpritePlacement placement;
    placement.x = ArgReal(argc, args, 2);
    placement.y = ArgReal(argc, args, 3);
    placement.xscale = ArgReal(argc, args, 4);
    placement.yscale = ArgReal(argc, args, 5);
    placement.angle = ArgReal(argc, args, 6);
    placement.colour = ArgColour(argc, args, 7);
    placement.alpha = ArgReal(argc, args, 8);
    Sprite_Draw(ArgInt(argc, args, 0), FrameFor(ArgReal(argc, args, 1), self), placement);
    result = RValue(0.0);
}

void draw_sprite_stretched_ext(RValue& result, CInstance* self, CInstance*, int argc, RValue* args) {
    Sprite_DrawStretched(ArgInt(argc, args, 0), FrameFor(ArgReal(argc, args, 1), self),
                         ArgReal(argc, args, 2), ArgReal(argc, args, 3), ArgReal(argc, args, 4),
                         ArgReal(argc, args, 5), ArgColour(argc, args, 6), ArgReal(argc, args, 7));
    result = RValue(0.0);
}

void draw_self(RValue& result, CInstance* self, CInstance*, int, RValue*) {
    Graphics_DrawInstance(self);
    result = RValue(0.0);
}

void draw_text(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    Text_Draw(ArgReal(argc, args, 0), ArgReal(argc, args, 1), ArgString(argc, args, 2));
    result = RValue(0.0);
}

void string_width(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    result = RValue(Text_Width(ArgString(argc, args, 0)));
}

void string_height(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    result = RValue(Text_Height(ArgString(argc, args, 0)));
}

void font_get_size(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    result = RValue(Font_Size(ArgInt(argc, args, 0)));
}

// -1 for an index that names no sprite.
void sprite_get_width(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    const SpriteData* sprite = Sprite_Find(ArgInt(argc, args, 0));
    result = RValue(sprite != nullptr ? sprite->width : -1);
}
} // namespace

void Register_Graphics() {
    Function_Add("draw_set_colour", draw_set_colour, 1);
    Function_Add("draw_set_color", draw_set_colour, 1);
    Function_Add("draw_set_alpha", draw_set_alpha, 1);
    Function_Add("draw_set_font", draw_set_font, 1);
    Function_Add("draw_set_halign", draw_set_halign, 1);
    Function_Add("draw_set_valign", draw_set_valign, 1);
    Function_Add("draw_rectangle", draw_rectangle, 5);
    Function_Add("draw_sprite", draw_sprite, 4);
    Function_Add("draw_sprite_ext", draw_sprite_ext, 9);
    Function_Add("draw_sprite_stretched_ext", draw_sprite_stretched_ext, 8);
    Function_Add("draw_self", draw_self, 0);
    Function_Add("draw_text", draw_text, 3);
    Function_Add("string_width", string_width, 1);
    Function_Add("string_height", string_height, 1);
    Function_Add("font_get_size", font_get_size, 1);
    Function_Add("sprite_get_width", sprite_get_width, 1);
}
