// Where batch mode's lines go, and in which encoding. The Windows window program has no console of its
// own (it would open one beside the window); started from a console without its output redirected,
// batch mode writes into that console. The lines are UTF-8, which a Windows console shows as such only
// while its output code page says so (batch_console_Windows.cpp). A POSIX terminal needs neither.
#pragma once

namespace batch {
class BatchConsole {
  public:
    BatchConsole();
    ~BatchConsole();
    BatchConsole(const BatchConsole&) = delete;
    BatchConsole& operator=(const BatchConsole&) = delete;
};
} // namespace batch
