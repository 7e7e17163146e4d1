#pragma once

#include <string>
#include <vector>

namespace torvane::cli {

// Exit codes shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

using Args = std::vector<std::string>;

// One function per command; each prints its own --help and returns the process exit code.
int cmdNew(const Args& args);
int cmdConvert(const Args& args);
int cmdShow(const Args& args);
int cmdMap(const Args& args);
int cmdCheck(const Args& args);
int cmdPorts(const Args& args);
int cmdDownload(const Args& args);
int cmdUpload(const Args& args);
int cmdVerify(const Args& args);
int cmdDiff(const Args& args);
int cmdEds(const Args& args);
int cmdExport(const Args& args);

// True when args hold -h or --help.
bool wantsHelp(const Args& args);

} // namespace torvane::cli
