// Records the texts the latest frame drew while it exists.
#pragma once
#include "Graphics/Graphics_Record.h"
#include <string>
#include <vector>

class DrawRecorder final : public DrawObserver {
  public:
    DrawRecorder() { Graphics_SetDrawObserver(this); }
    ~DrawRecorder() override { Graphics_SetDrawObserver(nullptr); }
    DrawRecorder(const DrawRecorder&) = delete;
    DrawRecorder& operator=(const DrawRecorder&) = delete;

    void FrameBegun() override { texts_.clear(); }
    void TextDrawn(std::string_view text) override { texts_.emplace_back(text); }
    const std::vector<std::string>& Texts() const { return texts_; }

  private:
    std::vector<std::string> texts_;
};
