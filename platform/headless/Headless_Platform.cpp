#include "platform/headless/Headless_Platform.h"
#include "platform/Platform_Clock.h"
#include <cstdio>

namespace {
void PrintBox(const std::string& text, const std::string& caption) {
    if (caption.empty())
        std::fprintf(stderr, "%s\n", text.c_str());
    else
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}
} // namespace

bool HeadlessPlatform::AwaitMessages(int64_t micros) {
    Platform_SleepMicros(micros);
    return false;
}

void HeadlessPlatform::ShowMessage(const std::string& text, const std::string& caption) {
    PrintBox(text, caption);
}

bool HeadlessPlatform::ShowQuestion(const std::string& text, const std::string& caption) {
    PrintBox(text + " (answered No: nobody is there to answer)", caption);
    return false;
}

int64_t HeadlessPlatform::NowMicros() {
    return Platform_SteadyMicros();
}

void HeadlessPlatform::SleepMicros(int64_t micros) {
    Platform_SleepMicros(micros);
}
