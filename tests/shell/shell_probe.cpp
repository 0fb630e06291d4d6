// The program the interpreter's tests start in place of the helper programs: it writes each argument
// it received followed by '|'; "--sleep-ms N" sleeps instead, "--copy-input" copies its standard
// input to its output.
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--sleep-ms") {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::stoi(argv[2])));
        return 0;
    }
    if (argc == 2 && std::string(argv[1]) == "--copy-input") {
        for (int c = std::getchar(); c != EOF; c = std::getchar()) {
            std::putchar(c);
        }
        return 0;
    }
    for (int i = 1; i < argc; ++i) {
        std::fputs(argv[i], stdout);
        std::fputc('|', stdout);
    }
    return 0;
}
