// A library for external_define / external_call: each function shows which arguments arrived
// where, so a call with the wrong types or order gives a wrong number.
#include <cstring>
#include <string>

namespace {
int callCount = 0;
int registrations = 0;
const char* (*saveAreaCallback)() = nullptr;
} // namespace

extern "C" {

double Add3(double a, double b, double c) {
    ++callCount;
    return a + b * 10 + c * 100;
}

double Mix4(const char* a, double b, const char* c, double d) {
    ++callCount;
    return static_cast<double>(std::strlen(a)) * 1000 + b * 100 + (c != nullptr ? std::strlen(c) : 9) * 10 +
           d;
}

double Sum6(double a, double b, double c, double d, double e, double f) {
    ++callCount;
    return a + 2 * b + 3 * c + 4 * d + 5 * e + 6 * f;
}

const char* Greet(const char* name) {
    static std::string text;
    text = std::string("hello ") + name;
    return text.c_str();
}

const char* NoText() {
    return nullptr;
}

double CallCount() {
    return callCount;
}

void RegisterCallbacks(void*, void* saveArea, void*, void*) {
    ++registrations;
    saveAreaCallback = reinterpret_cast<const char* (*)()>(saveArea);
}

double Registrations() {
    return registrations;
}

double SaveAreaLength() {
    return saveAreaCallback != nullptr ? std::strlen(saveAreaCallback()) : -1;
}
}
