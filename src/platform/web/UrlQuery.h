#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the page's address asks, as the demo's command line: `?start=29008&
// seed=7&mute=1` reads as `--start 29008 --seed 7 --mute`, so that one parser
// answers both. A switch takes 1 (on) or 0 (off); every other name takes its
// value. `at=MS` asks for the frame of one time alone (the frame on demand).
struct UrlQuery {
    std::vector<std::string> arguments; // for parseDemoCommandLine
    std::optional<std::uint32_t> frameAt;
};

// False, with one line for the user in `error`, for a query the page cannot
// take: a name without a value, a switch other than 0 or 1, an option that
// means nothing in a browser (the data folder, help, version, rehearsal), or
// a bad `at`.
// Names the command line does not know are left to its parser to refuse.
bool readUrlQuery(const std::string& query, UrlQuery& read, std::string& error);
