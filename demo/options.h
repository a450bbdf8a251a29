#pragma once

// The demo site's settings and its command line.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "demo/pages.h"

namespace smsdock::demo {

// How the number sites answer listing and message pages while told to fail.
enum class FailMode { None, ServerError, CloseConnection };

struct DemoOptions {
    ContentSettings content;

    // Ports on 127.0.0.1; 0 lets the system choose a free one.
    int primaryPort = 18441;
    int secondaryPort = 18442;
    int noticePort = 18080;
    int articlePort = 18443;

    std::filesystem::path stateDir;                // where the CA and server certificate live
    std::optional<std::filesystem::path> envFile;  // written once every role is listening

    int slowMs = 0;  // delay before every answer
    FailMode failNumbers = FailMode::None;
    bool failNotice = false;    // the notice post answers 500
    bool failPictures = false;  // the pictures answer 404 with an HTML page
    bool quiet = false;         // no request log on stderr
};

// The state directory used when none is given: one per user under the temporary directory.
std::filesystem::path DefaultStateDir();

struct ParsedCommandLine {
    DemoOptions options;
    bool help = false;
    std::string error;  // non-empty: the command line was refused
};

// args excludes the program name.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

std::string HelpText(const std::string& program);

}  // namespace smsdock::demo
