// A helper process for the process-table tests: it announces on stdout that it is set
// up, then waits for a signal ("wait"), waits while refusing SIGTERM ("ignore-term"),
// or ends at once ("exit").
#include <csignal>
#include <cstring>
#include <unistd.h>

int main(int argc, char** argv) {
    const char* mode = argc > 1 ? argv[1] : "wait";
    if (std::strcmp(mode, "exit") == 0)
        return 0;
    if (std::strcmp(mode, "ignore-term") == 0)
        std::signal(SIGTERM, SIG_IGN);
    (void)!write(STDOUT_FILENO, "r", 1);
    for (;;)
        pause();
}
