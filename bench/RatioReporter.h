#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// Prints the usual console output, then each benchmark's time as a ratio to its baseline
// measured in the same run. Benchmarks are named "Family/case"; the baseline of a family is
// "memcpy/case" unless `baselines` names another family for it.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    explicit RatioReporter(std::map<std::string, std::string> baselines = {});

    void ReportRuns(const std::vector<Run> &runs) override;
    void Finalize() override;

private:
    std::map<std::string, std::string> m_baselines;
    std::vector<std::pair<std::string, double>> m_times; // name, real time per iteration
};

// Runs the registered benchmarks with a RatioReporter; for use as main().
int runWithRatios(int argc, char **argv, std::map<std::string, std::string> baselines = {});
