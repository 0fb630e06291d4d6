#include "Runner/Runner_State.h"
#include "IO/IO_GameData.h"
#include <algorithm>

namespace {
const GameData* loadedData = nullptr;
int64_t deltaTime = 0;
std::vector<std::string> arguments;
} // namespace

const GameData& Runner_Data() {
    static const GameData empty;
    return loadedData ? *loadedData : empty;
}

void Runner_SetData(const GameData* data) {
    loadedData = data;
}
int64_t Runner_DeltaTime() {
    return deltaTime;
}
void Runner_SetDeltaTime(int64_t micros) {
    deltaTime = micros;
}
const std::vector<std::string>& Runner_Arguments() {
    return arguments;
}
void Runner_SetArguments(std::vector<std::string> values) {
    arguments = std::move(values);
}

bool Runner_HasOption(const std::string& option) {
    return std::find(arguments.begin(), arguments.end(), option) != arguments.end();
}
