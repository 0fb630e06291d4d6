// The stream table: one record per audio_create_stream, handle 300000 + slot.
#pragma once
#include <optional>
#include <string>
#include <vector>

class StreamTable {
  public:
    // Records the resolved path in the first empty slot; returns the stream handle.
    int Add(std::string path);
    // The path of a live stream, nullptr when the handle names none.
    const std::string* Find(int handle) const;
    // Empties the slot; a destroyed stream is found by no function.
    void Remove(int handle);

  private:
    std::vector<std::optional<std::string>> slots_;
};
