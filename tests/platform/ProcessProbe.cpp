// A helper process for the process-table tests: it announces on stdout that it is set
// up, then waits for a signal ("wait"), or ends at once ("exit").
#include <cstring>
#include <unistd.h>

int main(int argc, char** argv) {
    const char* mode = argc > 1 ? argv[1] : "wait";
    if (std::strcmp(mode, "exit") == 0)
        return 0;
    (void)!write(STDOUT_FILENO, "r", 1);
    for (;;)
        pause();
}
