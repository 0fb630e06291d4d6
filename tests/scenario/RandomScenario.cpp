// Random input over the running tool, for comparing a run that skips quiet frames with one that runs
// every frame: whatever the input, the two must not tell apart.
#include "Scenario.h"
#include <random>
#include <sstream>

namespace {
// Where the panel's controls are (room units, the window's pixels): the status line with the volume,
// Play, About, Import, Export, Replace and Restore.
struct Spot {
    int x, y;
};
constexpr Spot Controls[] = {{192, 80}, {32, 80}, {352, 80}, {96, 144}, {192, 144}, {288, 144}, {352, 144}};

class Generator {
  public:
    explicit Generator(uint64_t seed) : random_(seed) {}

    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    bool Chance(int percent) { return Between(1, 100) <= percent; }

    // Anywhere on the window but the close button, whose click would end the run early.
    Spot OnWindow() {
        for (;;) {
            Spot spot{Between(0, 383), Between(0, 191)};
            if (!(spot.x >= 320 && spot.y < 40))
                return spot;
        }
    }
    Spot Target() { return Chance(60) ? Controls[Between(0, std::size(Controls) - 1)] : OnWindow(); }

    std::string Step() {
        std::ostringstream line;
        switch (Between(0, 15)) {
        case 0:
        case 1: {
            const Spot spot = Target();
            line << "pointer " << spot.x << " " << spot.y;
            break;
        }
        case 2:
        case 3: {
            const Spot spot = Target();
            line << "click " << spot.x << " " << spot.y;
            break;
        }
        case 4:
            // Far from the window: no message reaches it.
            line << "screen-pointer " << Between(0, 700) << " " << Between(0, 300);
            break;
        case 5:
            line << (Chance(50) ? "press" : "release");
            break;
        case 6: {
            static const char* keys[] = {"space", "left", "right", "f1", "ctrl+o", "ctrl+e", "shift", "a"};
            const std::string key = keys[Between(0, std::size(keys) - 1)];
            if (key == "ctrl+o" && Chance(50))
                line << "open \"${WORK}/demo_track." << (Chance(50) ? "sab" : "mab") << "\"\n";
            line << "key " << key;
            break;
        }
        case 7:
            line << "wheel " << (Chance(50) ? "up" : "down");
            break;
        case 8:
            line << "focus " << (Chance(50) ? "on" : "off");
            break;
        case 9:
            if (drops_++ < 3) {
                static const char* files[] = {"demo_track.sab", "demo_track.mab", "notes.txt"};
                line << (Chance(50) ? "drop" : "hand-over") << " \"${WORK}/" << files[Between(0, 2)] << "\"";
            } else {
                line << "frames 1";
            }
            break;
        case 10:
            line << "answer " << (Chance(50) ? "yes" : "no");
            break;
        case 11:
            // A long pause: the runtime sleeps through most of it.
            line << "frames " << Between(200, 1500);
            break;
        default:
            line << "frames " << Between(1, 40);
            break;
        }
        return line.str();
    }

  private:
    std::mt19937_64 random_;
    int drops_ = 0;
};
} // namespace

std::string RandomScenario(uint64_t seed, int steps) {
    Generator generator(seed);
    std::ostringstream text;
    text << "# Random input, seed " << seed << "\n"
         << "shell cp \"${BIN}/samples/demo_track.sab\" \"${BIN}/samples/demo_track.mab\" \"${WORK}/\"\n"
         << "shell echo notes > \"${WORK}/notes.txt\"\n"
         << "start\n"
         << "until-global init 0 600\n";
    for (int i = 0; i < steps; ++i)
        text << generator.Step() << "\n";
    text << "frames 200\nquit\n";
    return text.str();
}
