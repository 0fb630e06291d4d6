#include "Graphics/Graphics_RenderList.h"
#include "Graphics/Graphics_Window.h"
#include "platform/Platform.h"
#include <cstring>
#include <type_traits>
#include <utility>
#include <vector>

namespace {
enum class Kind : uint8_t { OutputSize, Target, Clip, NoClip, Clear, Fill, Copy };

// Plain values laid out without padding, so that two frames compare as bytes: equal bytes are the
// same picture (a -0 against a 0 only renders once more).
struct Command {
    SDL_Texture* texture = nullptr; // Target, Copy
    double angle = 0;
    float dx = 0, dy = 0, dw = 0, dh = 0;
    float cx = 0, cy = 0;
    int x = 0, y = 0, w = 0, h = 0; // Clip, Fill; Copy: the source; OutputSize: w, h
    int flip = 0;
    int blend = 0;
    Kind kind = Kind::Clear;
    bool whole = true;                  // Fill: the clip area; Copy: the whole texture
    bool toWholeTarget = true;          // Copy
    uint8_t r = 0, g = 0, b = 0, a = 0; // Clear, Fill: the colour; Copy: the modulation
    uint8_t unused = 0;
};
static_assert(sizeof(Command) == 72 && std::is_trivially_copyable_v<Command>, "a Command has no padding");

bool SameCommands(const std::vector<Command>& one, const std::vector<Command>& other) {
    return one.size() == other.size() &&
           (one.empty() || std::memcmp(one.data(), other.data(), one.size() * sizeof(Command)) == 0);
}

struct Recording {
    bool active = false;
    std::vector<Command> commands;
    // False once something is drawn on a target before the frame covered it whole: the frame then
    // depends on what the target held, and is always rendered.
    bool selfContained = true;
    std::vector<SDL_Texture*> covered;
    SDL_Texture* target = nullptr;
    bool clipped = false;
    SDL_Rect clip{};
};

Recording recording;
std::vector<Command> lastPresented;
SDL_Texture* immediateTarget = nullptr;

void Execute(const Command& c) {
    SDL_Renderer* renderer = Graphics_Renderer();
    switch (c.kind) {
    case Kind::OutputSize:
        break;
    case Kind::Target:
        SDL_SetRenderTarget(renderer, c.texture);
        break;
    case Kind::Clip: {
        const SDL_Rect clip{c.x, c.y, c.w, c.h};
        SDL_RenderSetClipRect(renderer, &clip);
        break;
    }
    case Kind::NoClip:
        SDL_RenderSetClipRect(renderer, nullptr);
        break;
    case Kind::Clear:
        SDL_SetRenderDrawColor(renderer, c.r, c.g, c.b, c.a);
        SDL_RenderClear(renderer);
        break;
    case Kind::Fill: {
        const SDL_Rect rect{c.x, c.y, c.w, c.h};
        SDL_SetRenderDrawBlendMode(renderer, SDL_BlendMode(c.blend));
        SDL_SetRenderDrawColor(renderer, c.r, c.g, c.b, c.a);
        SDL_RenderFillRect(renderer, c.whole ? nullptr : &rect);
        break;
    }
    case Kind::Copy: {
        const SDL_Rect source{c.x, c.y, c.w, c.h};
        const SDL_FRect destination{c.dx, c.dy, c.dw, c.dh};
        const SDL_FPoint centre{c.cx, c.cy};
        SDL_SetTextureColorMod(c.texture, c.r, c.g, c.b);
        SDL_SetTextureAlphaMod(c.texture, c.a);
        SDL_SetTextureBlendMode(c.texture, SDL_BlendMode(c.blend));
        const SDL_Rect* from = c.whole ? nullptr : &source;
        const SDL_FRect* to = c.toWholeTarget ? nullptr : &destination;
        // The plain copy is the fast path on every renderer.
        if (c.angle == 0 && c.flip == SDL_FLIP_NONE)
            SDL_RenderCopyF(renderer, c.texture, from, to);
        else
            SDL_RenderCopyExF(renderer, c.texture, from, to, c.angle, &centre, SDL_RendererFlip(c.flip));
        break;
    }
    }
}

void Replay(const std::vector<Command>& commands) {
    for (const Command& command : commands)
        Execute(command);
    SDL_RenderSetClipRect(Graphics_Renderer(), nullptr);
    SDL_SetRenderTarget(Graphics_Renderer(), nullptr);
}

SDL_Point TargetSize(SDL_Texture* target) {
    SDL_Point size{0, 0};
    if (target != nullptr)
        SDL_QueryTexture(target, nullptr, nullptr, &size.x, &size.y);
    else
        SDL_GetRendererOutputSize(Graphics_Renderer(), &size.x, &size.y);
    return size;
}

bool Covered(SDL_Texture* target) {
    for (SDL_Texture* done : recording.covered)
        if (done == target)
            return true;
    return false;
}

// Whether an opaque fill (or one with blending off) of the clip area replaces every pixel of the target.
bool FillsTarget(const Command& c) {
    if (c.kind == Kind::Clear)
        return true;
    if (c.kind != Kind::Fill || !c.whole ||
        (c.blend != SDL_BLENDMODE_NONE && !(c.blend == SDL_BLENDMODE_BLEND && c.a == 255)))
        return false;
    const SDL_Point size = TargetSize(recording.target);
    const SDL_Rect& clip = recording.clip;
    return !recording.clipped ||
           (clip.x <= 0 && clip.y <= 0 && clip.x + clip.w >= size.x && clip.y + clip.h >= size.y);
}

void NoteDrawing(const Command& c) {
    if (Covered(recording.target))
        return;
    if (FillsTarget(c))
        recording.covered.push_back(recording.target);
    else
        recording.selfContained = false;
}

void Submit(const Command& command) {
    if (!recording.active) {
        Execute(command);
        return;
    }
    switch (command.kind) {
    case Kind::Target:
        recording.target = command.texture;
        break;
    case Kind::Clip:
        recording.clipped = true;
        recording.clip = SDL_Rect{command.x, command.y, command.w, command.h};
        break;
    case Kind::NoClip:
        recording.clipped = false;
        break;
    case Kind::Clear:
    case Kind::Fill:
    case Kind::Copy:
        NoteDrawing(command);
        break;
    case Kind::OutputSize:
        break;
    }
    recording.commands.push_back(command);
}
} // namespace

void RenderList_BeginFrame() {
    recording.active = false;
    recording.commands.clear();
    recording.covered.clear();
    recording.selfContained = true;
    recording.target = nullptr;
    recording.clipped = false;
    // The same commands on a window of another size are another picture.
    const SDL_Point size = TargetSize(nullptr);
    Command output;
    output.kind = Kind::OutputSize;
    output.w = size.x;
    output.h = size.y;
    recording.active = true;
    Submit(output);
    Render_SetTarget(nullptr);
    Render_SetClip(nullptr);
}

bool RenderList_EndFrameUnshown() {
    recording.active = false;
    immediateTarget = nullptr;
    return !recording.selfContained || !SameCommands(recording.commands, lastPresented);
}

bool RenderList_EndFrame(bool present) {
    if (!RenderList_EndFrameUnshown() || !present)
        return false;
    Replay(recording.commands);
    CurrentPlatform().Present();
    lastPresented.swap(recording.commands);
    return true;
}

void RenderList_Repaint() {
    RenderList_RepaintWith({});
}

void RenderList_RepaintWith(const std::function<void()>& over) {
    if (lastPresented.empty() || Graphics_Renderer() == nullptr)
        return;
    Replay(lastPresented);
    // A wait inside a Step comes while the frame records: what is put on top is rendered now instead.
    const bool recordingFrame = std::exchange(recording.active, false);
    if (over)
        over();
    recording.active = recordingFrame;
    CurrentPlatform().Present();
}

void RenderList_Forget() {
    lastPresented.clear();
}

void Render_SetTarget(SDL_Texture* target) {
    if (!recording.active)
        immediateTarget = target;
    Command c;
    c.kind = Kind::Target;
    c.texture = target;
    Submit(c);
}

SDL_Texture* Render_Target() {
    return recording.active ? recording.target : immediateTarget;
}

void Render_SetClip(const SDL_Rect* clip) {
    Command c;
    c.kind = clip != nullptr ? Kind::Clip : Kind::NoClip;
    if (clip != nullptr) {
        c.x = clip->x;
        c.y = clip->y;
        c.w = clip->w;
        c.h = clip->h;
    }
    Submit(c);
}

void Render_Clear(SDL_Color colour) {
    Command c;
    c.kind = Kind::Clear;
    c.r = colour.r;
    c.g = colour.g;
    c.b = colour.b;
    c.a = colour.a;
    Submit(c);
}

void Render_Fill(const SDL_Rect* rect, SDL_Color colour, SDL_BlendMode blend) {
    Command c;
    c.kind = Kind::Fill;
    c.whole = rect == nullptr;
    if (rect != nullptr) {
        c.x = rect->x;
        c.y = rect->y;
        c.w = rect->w;
        c.h = rect->h;
    }
    c.r = colour.r;
    c.g = colour.g;
    c.b = colour.b;
    c.a = colour.a;
    c.blend = blend;
    Submit(c);
}

void Render_Copy(const RenderCopy& copy) {
    Command c;
    c.kind = Kind::Copy;
    c.texture = copy.texture;
    c.whole = copy.source == nullptr;
    if (copy.source != nullptr) {
        c.x = copy.source->x;
        c.y = copy.source->y;
        c.w = copy.source->w;
        c.h = copy.source->h;
    }
    c.toWholeTarget = copy.destination == nullptr;
    if (copy.destination != nullptr) {
        c.dx = copy.destination->x;
        c.dy = copy.destination->y;
        c.dw = copy.destination->w;
        c.dh = copy.destination->h;
    }
    c.angle = copy.angle;
    c.cx = copy.centre.x;
    c.cy = copy.centre.y;
    c.flip = copy.flip;
    c.r = copy.modulation.r;
    c.g = copy.modulation.g;
    c.b = copy.modulation.b;
    c.a = copy.modulation.a;
    c.blend = copy.blend;
    Submit(c);
}

void Render_CopyPieces(SDL_Texture* texture, const RenderPiece* pieces, size_t count, SDL_Color modulation,
                       SDL_BlendMode blend) {
    if (count == 0)
        return;
    Command c;
    c.kind = Kind::Copy;
    c.texture = texture;
    c.whole = false;
    c.toWholeTarget = false;
    c.r = modulation.r;
    c.g = modulation.g;
    c.b = modulation.b;
    c.a = modulation.a;
    c.blend = blend;
    // Every piece is a copy onto the same target: what one notes, all would.
    if (recording.active)
        NoteDrawing(c);
    for (size_t i = 0; i < count; ++i) {
        const RenderPiece& piece = pieces[i];
        c.x = piece.source.x;
        c.y = piece.source.y;
        c.w = piece.source.w;
        c.h = piece.source.h;
        c.dx = piece.destination.x;
        c.dy = piece.destination.y;
        c.dw = piece.destination.w;
        c.dh = piece.destination.h;
        if (recording.active)
            recording.commands.push_back(c);
        else
            Execute(c);
    }
}
