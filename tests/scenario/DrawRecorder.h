// Records the draw calls of the latest frame while it exists (scenarios check the texts drawn).
#pragma once
#include "Graphics/Graphics_Record.h"
#include <vector>

class DrawRecorder final : public DrawObserver {
  public:
    DrawRecorder() { Graphics_SetDrawObserver(this); }
    ~DrawRecorder() override { Graphics_SetDrawObserver(nullptr); }
    DrawRecorder(const DrawRecorder&) = delete;
    DrawRecorder& operator=(const DrawRecorder&) = delete;

    void FrameBegun() override { calls_.clear(); }
    void Drawn(const DrawCall& call) override { calls_.push_back(call); }
    const std::vector<DrawCall>& Calls() const { return calls_; }

  private:
    std::vector<DrawCall> calls_;
};
