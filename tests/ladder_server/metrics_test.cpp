// The metrics registry alone: its text, byte for byte, as Prometheus reads it.

#include "ladder_server/routes/metrics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

using ladder::metrics::Registry;

TEST(MetricsTest, TheTextHasEveryFamilyOnceAndAHistogramsCumulativeBuckets) {
    Registry registry;
    auto& ok = registry.AddCounter("app_requests_total", "Requests\\answered,\nby status.",
                                   {{"route", "/a"}, {"status", "200"}});
    auto& odd = registry.AddCounter("app_requests_total", "ignored: the family has its help",
                                    {{"route", "say \"hi\"\\\nthere"}, {"status", "404"}});
    registry.AddCounter("app_requests_total", "", {{"route", "/b"}, {"status", "503"}},
                        Registry::Shown::OnceCounted);
    auto& depth = registry.AddGauge("app_depth", "Waiting.");
    auto& latency = registry.AddHistogram("app_seconds", "Time taken.", {0.001, 0.25, 1, 10},
                                          {{"route", "/a"}});
    registry.AddHistogram("app_seconds", "", {0.5}, {{"route", "/b"}});
    int collected = 0;
    registry.AddCollector([&] { depth.Set(++collected * 1.5); });

    ok.Increment();
    ok.Increment(2);
    odd.Increment();
    for (double seconds : {0.0005, 0.001, 0.2, 0.25, 3.0, 12.5}) {
        latency.Observe(seconds);
    }
    latency.Observe(std::nan(""));

    EXPECT_EQ(registry.Render(),
              "# HELP app_requests_total Requests\\\\answered,\\nby status.\n"
              "# TYPE app_requests_total counter\n"
              "app_requests_total{route=\"/a\",status=\"200\"} 3\n"
              "app_requests_total{route=\"say \\\"hi\\\"\\\\\\nthere\",status=\"404\"} 1\n"
              "# HELP app_depth Waiting.\n"
              "# TYPE app_depth gauge\n"
              "app_depth 1.5\n"
              "# HELP app_seconds Time taken.\n"
              "# TYPE app_seconds histogram\n"
              "app_seconds_bucket{route=\"/a\",le=\"0.001\"} 2\n"
              "app_seconds_bucket{route=\"/a\",le=\"0.25\"} 4\n"
              "app_seconds_bucket{route=\"/a\",le=\"1\"} 4\n"
              "app_seconds_bucket{route=\"/a\",le=\"10\"} 5\n"
              "app_seconds_bucket{route=\"/a\",le=\"+Inf\"} 6\n"
              "app_seconds_sum{route=\"/a\"} 15.9515\n"
              "app_seconds_count{route=\"/a\"} 6\n"
              "app_seconds_bucket{route=\"/b\",le=\"0.5\"} 0\n"
              "app_seconds_bucket{route=\"/b\",le=\"+Inf\"} 0\n"
              "app_seconds_sum{route=\"/b\"} 0\n"
              "app_seconds_count{route=\"/b\"} 0\n");
    // The collector runs at each rendering, and a series shown once counted appears.
    EXPECT_NE(registry.Render().find("app_depth 3\n"), std::string::npos);
}

TEST(MetricsTest, ValuesNamesAndBoundsAreWhatTheFormatAllows) {
    using ladder::metrics::FormatValue;
    EXPECT_EQ(FormatValue(0), "0");
    EXPECT_EQ(FormatValue(-2), "-2");
    EXPECT_EQ(FormatValue(0.0025), "0.0025");
    EXPECT_EQ(FormatValue(std::numeric_limits<double>::infinity()), "+Inf");
    EXPECT_EQ(FormatValue(-std::numeric_limits<double>::infinity()), "-Inf");
    EXPECT_EQ(FormatValue(std::nan("")), "NaN");

    Registry registry;
    registry.AddCounter("app_total", "");
    for (const char* bad : {"", "9lives", "a-b", "app total"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(registry.AddGauge(bad, ""), std::invalid_argument);
    }
    EXPECT_THROW(registry.AddGauge("app_total", ""), std::invalid_argument);  // a counter's
    EXPECT_THROW(registry.AddCounter("app_x", "", {{"a-b", ""}}), std::invalid_argument);
    EXPECT_THROW(registry.AddHistogram("app_h", "", {1}, {{"le", "1"}}), std::invalid_argument);
    EXPECT_THROW(registry.AddHistogram("app_h", "", {1, 1}), std::invalid_argument);
    EXPECT_THROW(registry.AddHistogram("app_h", "", {1, INFINITY}), std::invalid_argument);
    EXPECT_EQ(registry.Render(), "# HELP app_total \n# TYPE app_total counter\napp_total 0\n");
}

TEST(MetricsTest, CountsFromManyThreadsAreAllKept) {
    Registry registry;
    auto& counter = registry.AddCounter("app_total", "");
    auto& histogram = registry.AddHistogram("app_seconds", "", {1});
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 10000; ++i) {
                counter.Increment();
                histogram.Observe(i % 2 == 0 ? 0.5 : 2.0);
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(counter.Value(), 40000u);
    EXPECT_EQ(histogram.CumulativeCounts(), (std::vector<std::uint64_t>{20000, 40000}));
    EXPECT_EQ(histogram.Sum(), 50000.0);
}

}  // namespace
