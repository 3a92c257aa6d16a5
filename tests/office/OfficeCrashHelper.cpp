// Starts a private office, prints its process id and then ends in the way asked for,
// without ever ending the office itself.

#include "office/SpreadsheetApp.h"
#include "office/libreoffice/LibreOfficeSuite.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    auto* suite = new vexlo::office::LibreOfficeSuite; // never destroyed on purpose
    auto app = suite->createSpreadsheetApp();
    if (!app) return 3;
    std::printf("%lld\n", static_cast<long long>(app->ProcessId()));
    std::fflush(stdout);
    if (std::strcmp(argv[1], "abort") == 0) std::abort();
    if (std::strcmp(argv[1], "kill") == 0) std::raise(SIGKILL);
    std::exit(0);
}
