// The golden sessions replayed by the core as compiled for the page, run
// under Node with the host's files: the same comparison and messages as the
// native test.

#include <cstdio>
#include <string>
#include <vector>

#include "tests/golden_sessions.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: golden_replay GOLDEN_FOLDER\n");
        return 2;
    }
    const std::vector<std::string> failures = versomat::golden::replayGoldenSessions(argv[1]);
    for (const std::string& failure : failures)
        std::fprintf(stderr, "%s\n", failure.c_str());
    if (!failures.empty())
        return 1;
    std::printf("golden sessions: every poem as expected\n");
    return 0;
}
