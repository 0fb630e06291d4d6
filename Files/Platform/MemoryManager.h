// Ownership helpers: C resources held by RAII handles with their release function.
#pragma once
#include <memory>

template <auto Release> struct ReleaseWith {
    template <typename T> void operator()(T* pointer) const {
        if (pointer != nullptr) {
            Release(pointer);
        }
    }
};

// Owned<SDL_Texture, SDL_DestroyTexture> texture(SDL_CreateTexture(...));
template <typename T, auto Release> using Owned = std::unique_ptr<T, ReleaseWith<Release>>;
