#pragma once

// Counters, gauges and histograms, and their text in Prometheus' exposition format 0.0.4, for
// the operators' scrapes. Series are made up front, each with its own labels; counting on
// one is an atomic add, no lock, so the hot path pays next to nothing. The text is built
// only when asked for.
//
//   metrics::Registry registry;
//   metrics::Counter& served = registry.AddCounter("app_served_total", "Answers given.",
//                                                  {{"route", "/a"}});
//   served.Increment();
//   std::string text = registry.Render();

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace ladder::metrics {

struct Label {
    std::string name;   // [a-zA-Z_][a-zA-Z0-9_]*, "le" is a histogram's own
    std::string value;  // any UTF-8 text; escaped in the text
};
using Labels = std::vector<Label>;

// Only ever goes up.
class Counter {
public:
    void Increment(std::uint64_t by = 1) { value_.fetch_add(by, std::memory_order_relaxed); }
    std::uint64_t Value() const { return value_.load(std::memory_order_relaxed); }

private:
    std::atomic<std::uint64_t> value_{0};
};

class Gauge {
public:
    void Set(double value) { value_.store(value, std::memory_order_relaxed); }
    double Value() const { return value_.load(std::memory_order_relaxed); }

private:
    std::atomic<double> value_{0};
};

// Observations counted into buckets by their upper bounds, with their sum. A scrape during
// an Observe may see the observation in the count but not yet in the sum.
class Histogram {
public:
    // bounds: finite and strictly increasing (std::invalid_argument otherwise); the +Inf
    // bucket is always there besides them.
    explicit Histogram(std::vector<double> bounds);

    // NaN is dropped.
    void Observe(double value);

    const std::vector<double>& Bounds() const { return bounds_; }
    // Observations of at most each bound, cumulative as the text shows them, then all of
    // them (the +Inf bucket, which is also the count).
    std::vector<std::uint64_t> CumulativeCounts() const;
    double Sum() const { return sum_.load(std::memory_order_relaxed); }

private:
    std::vector<double> bounds_;
    // Not cumulative: each observation goes into one bucket, the last one past every bound.
    std::unique_ptr<std::atomic<std::uint64_t>[]> counts_;
    std::atomic<double> sum_{0};
};

// Millisecond to ten-second buckets, for answer times in seconds.
std::vector<double> LatencyBuckets();

// Owns every series and writes their text. Adding series and rendering may happen from any
// thread; the series themselves are lock-free. A series lives as long as the registry.
class Registry {
public:
    // Whether a series is in the text before anything was counted on it: kept out, a
    // series of a label set that rarely occurs (a route and one of its statuses) does not
    // crowd the text while it is zero.
    enum class Shown { Always, OnceCounted };

    Registry() = default;
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    // Series of one name form a family: they share the help text and the type, which the
    // first one sets, and differ in their labels. A name ([a-zA-Z_:][a-zA-Z0-9_:]*) already
    // used with another type, or an invalid name, throws std::invalid_argument, with nothing
    // added.
    Counter& AddCounter(const std::string& name, const std::string& help, Labels labels = {},
                        Shown shown = Shown::Always);
    Gauge& AddGauge(const std::string& name, const std::string& help, Labels labels = {});
    Histogram& AddHistogram(const std::string& name, const std::string& help,
                            std::vector<double> bounds, Labels labels = {});

    // Runs before each Render, to set gauges that are read off other objects rather than
    // counted (a queue's depth). It must not block.
    void AddCollector(std::function<void()> collect);

    // Every family in the order first added, its series in the order added: the # HELP and
    // # TYPE lines, then a line per series (a histogram's cumulative buckets, +Inf, _sum and
    // _count).
    std::string Render() const;

private:
    enum class Type { Counter, Gauge, Histogram };
    struct Series {
        Labels labels;
        Shown shown = Shown::Always;
        Counter* counter = nullptr;
        Gauge* gauge = nullptr;
        Histogram* histogram = nullptr;
    };
    struct Family {
        std::string name;
        std::string help;
        Type type;
        std::vector<Series> series;
    };

    Family& FamilyOf(const std::string& name, const std::string& help, Type type,
                     const Labels& labels);

    mutable std::mutex mutex_;
    std::vector<Family> families_;
    // Deques, so that a series stays where it is as more are added.
    std::deque<Counter> counters_;
    std::deque<Gauge> gauges_;
    std::deque<Histogram> histograms_;
    std::vector<std::function<void()>> collectors_;
};

// A value as the text writes it: integers without a fraction, others in the shortest form
// that reads back the same, and "+Inf", "-Inf", "NaN".
std::string FormatValue(double value);
// A label value inside its quotes: backslash, double quote and line feed escaped.
std::string EscapeLabelValue(std::string_view value);

}  // namespace ladder::metrics
