#pragma once

// Shared by the benchmark programs: collects the mean time of named runs and
// prints "ratio <what>: <ours / reference>" lines after all benchmarks ran.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace bench
{

class RatioReporter : public benchmark::ConsoleReporter
{
public:
    // Compares wall-clock times instead of the main thread's CPU time, for
    // work that other threads share.
    explicit RatioReporter(bool realTime = false) : realTime_(realTime) {}

    // `ours` and `reference` are benchmark names as the console shows them.
    void Compare(std::string what, std::string ours, std::string reference)
    {
        pairs_.push_back({std::move(what), std::move(ours), std::move(reference)});
    }

    // `ours` beside a fixed time per iteration, in nanoseconds (a budget).
    void CompareWithTime(std::string what, std::string ours, double nanoseconds)
    {
        budgets_.push_back({std::move(what), std::move(ours), nanoseconds});
    }

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
        {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
            {
                times_[run.benchmark_name()] =
                    realTime_ ? run.GetAdjustedRealTime() : run.GetAdjustedCPUTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintRatios() const
    {
        for (const Pair& pair : pairs_)
        {
            const auto ours = times_.find(pair.ours);
            const auto reference = times_.find(pair.reference);
            if (ours != times_.end() && reference != times_.end() && reference->second > 0.0)
            {
                std::printf("ratio %s: %.3f\n", pair.what.c_str(), ours->second / reference->second);
            }
        }
        for (const Budget& budget : budgets_)
        {
            const auto ours = times_.find(budget.ours);
            if (ours != times_.end() && budget.nanoseconds > 0.0)
            {
                std::printf("ratio %s: %.3f\n", budget.what.c_str(), ours->second / budget.nanoseconds);
            }
        }
    }

private:
    struct Pair
    {
        std::string what, ours, reference;
    };
    struct Budget
    {
        std::string what, ours;
        double nanoseconds;
    };
    bool realTime_ = false;
    std::vector<Pair> pairs_;
    std::vector<Budget> budgets_;
    std::map<std::string, double> times_;
};

} // namespace bench
