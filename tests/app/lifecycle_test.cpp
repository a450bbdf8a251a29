// How the program ends: the start routine and the shutdown run in a child process (the shell
// probe), and its output and exit code tell what happened.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <ostream>
#include <string>

namespace {

struct Outcome {
    int exitCode = -1;
    std::string output;
};

Outcome RunProbe(const std::string& mode) {
    const std::string command = "timeout 30 " SMSDOCK_SHELL_PROBE " " + mode + " 2>/dev/null";
    Outcome outcome;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return outcome;
    std::array<char, 256> chunk{};
    while (fgets(chunk.data(), chunk.size(), pipe))
        outcome.output += chunk.data();
    const int status = pclose(pipe);
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

int Occurrences(const std::string& text, const std::string& part) {
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

struct Case {
    const char* mode;
    int exitCode;
    friend void PrintTo(const Case& c, std::ostream* out) { *out << c.mode; }
};

class ShellEnd : public ::testing::TestWithParam<Case> {};

TEST_P(ShellEnd, ReleaseGlobalsRunsExactlyOnceAndTheExitCodeIsKept) {
    const Outcome outcome = RunProbe(GetParam().mode);
    EXPECT_EQ(outcome.exitCode, GetParam().exitCode);
    EXPECT_EQ(Occurrences(outcome.output, "exit handlers: globals released"), 1) << outcome.output;
    EXPECT_EQ(Occurrences(outcome.output, "counting handler ran"), 1) << outcome.output;
    EXPECT_EQ(Occurrences(outcome.output, "EndProgram returned"), 0) << outcome.output;
}

INSTANTIATE_TEST_SUITE_P(Ends, ShellEnd,
                         ::testing::Values(Case{"close-window", 0}, Case{"end-from-worker", 0},
                                           Case{"end-from-window", 3}, Case{"busy-worker", 0}),
                         [](const auto& info) {
                             std::string name = info.param.mode;
                             std::erase(name, '-');
                             return name;
                         });

TEST(ShellFailedStart, ShowsTheRunTimeErrorAndEndsWithMinusOneWithoutExitHandlers) {
    const Outcome outcome = RunProbe("failed-start");
    EXPECT_EQ(outcome.exitCode, 255);  // -1 as a process exit status
    EXPECT_NE(outcome.output.find("error box: 运行时出错! / 载入启动窗口失败"), std::string::npos)
        << outcome.output;
    EXPECT_EQ(outcome.output.find("exit handlers"), std::string::npos) << outcome.output;
}

}  // namespace
