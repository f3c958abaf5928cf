#pragma once
// A figure and its floor, timed in turns in one process: the program's way (A) and the
// plainest way of doing the same work (B) run alternately, A B then B A, so that the
// machine's drift, caches and other load fall on both alike. Each benchmark reports the
// medians of both and their ratio as counters.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace bench {

class Pair {
public:
    // One round: both once, in alternating order.
    template <class A, class B>
    void run(A&& ours, B&& floor)
    {
        run(ours, floor, [] {});
    }

    // The same, with an untimed step before each of the two (dropping a file from the page
    // cache, say), so that both start from the same state.
    template <class A, class B, class P>
    void run(A&& ours, B&& floor, P&& before)
    {
        // The first round only warms up (the file read into the cache, the code paged in):
        // it is not counted for either.
        if (!warm_) {
            before();
            ours();
            before();
            floor();
            warm_ = true;
        }
        if (flip_) {
            before();
            time(floor, floor_);
            before();
            time(ours, ours_);
        } else {
            before();
            time(ours, ours_);
            before();
            time(floor, floor_);
        }
        flip_ = !flip_;
    }

    // Counters: calvora_ms, floor_ms (medians) and ratio (calvora / floor).
    void report(benchmark::State& state) const
    {
        const double a = median(ours_);
        const double b = median(floor_);
        state.counters["calvora_ms"] = a;
        state.counters["floor_ms"] = b;
        state.counters["ratio"] = b > 0 ? a / b : 0;
        state.counters["rounds"] = double(ours_.size());
    }

private:
    template <class F>
    static void time(F&& work, std::vector<double>& into)
    {
        const auto start = std::chrono::steady_clock::now();
        work();
        const auto end = std::chrono::steady_clock::now();
        into.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    static double median(std::vector<double> v)
    {
        if (v.empty())
            return 0;
        std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
        return v[v.size() / 2];
    }

    std::vector<double> ours_;
    std::vector<double> floor_;
    bool flip_ = false;
    bool warm_ = false;
};

}  // namespace bench
