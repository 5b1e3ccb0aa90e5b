#include "RatioReporter.h"

#include <cstdio>

RatioReporter::RatioReporter(std::map<std::string, std::string> baselines)
    : m_baselines(std::move(baselines))
{
}

void RatioReporter::ReportRuns(const std::vector<Run> &runs)
{
    ConsoleReporter::ReportRuns(runs);
    for (const Run &run : runs) {
        if (run.run_type == Run::RT_Iteration && !run.error_occurred)
            m_times.emplace_back(run.benchmark_name(), run.GetAdjustedRealTime());
    }
}

void RatioReporter::Finalize()
{
    ConsoleReporter::Finalize();
    std::map<std::string, double> byName(m_times.begin(), m_times.end());
    std::printf("\n%-44s %10s  %s\n", "benchmark", "ratio", "baseline");
    for (const auto &[name, time] : m_times) {
        const auto slash = name.find('/');
        const std::string family = name.substr(0, slash);
        const std::string rest = slash == std::string::npos ? std::string() : name.substr(slash);
        const auto mapped = m_baselines.find(family);
        const std::string baseline =
            (mapped == m_baselines.end() ? "memcpy" : mapped->second) + rest;
        const auto found = byName.find(baseline);
        if (found == byName.end() || baseline == name)
            continue;
        std::printf("%-44s %9.2fx  %s\n", name.c_str(), time / found->second, baseline.c_str());
    }
    std::fflush(stdout);
}

int runWithRatios(int argc, char **argv, std::map<std::string, std::string> baselines)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter(std::move(baselines));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
