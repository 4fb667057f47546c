#pragma once
// Runs a program to its end and captures what it printed: the CLI is tested
// as a black box.
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace zorone::test {

struct ProcessResult {
    int exitCode = -1; // 128 + signal when killed by a signal
    std::string out;
    std::string err;
};

// Runs program with args; while it runs, duringRun (when given) is called
// with its process id, e.g. to send it a signal.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::map<std::string, std::string>& env, const std::string& workingDir,
                         const std::function<void(int pid)>& duringRun);

// Runs program with args; env entries are added to (or replace in) the
// current environment. The child gets no standard input.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::map<std::string, std::string>& env = {}, const std::string& workingDir = {});

} // namespace zorone::test
