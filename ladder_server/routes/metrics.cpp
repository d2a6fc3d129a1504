#include "ladder_server/routes/metrics.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <stdexcept>

namespace ladder::metrics {

namespace {

bool IsName(std::string_view name, bool colons) {
    const auto first = [colons](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || (colons && c == ':');
    };
    return !name.empty() && first(name.front()) &&
           std::all_of(name.begin() + 1, name.end(),
                       [&](char c) { return first(c) || (c >= '0' && c <= '9'); });
}

// HELP text escapes only backslash and line feed.
std::string EscapeHelp(std::string_view help) {
    std::string escaped;
    for (const char c : help) {
        if (c == '\\') {
            escaped += "\\\\";
        } else if (c == '\n') {
            escaped += "\\n";
        } else {
            escaped += c;
        }
    }
    return escaped;
}

void AppendLabels(std::string& text, const Labels& labels, const Label* extra = nullptr) {
    if (labels.empty() && extra == nullptr) {
        return;
    }
    text += '{';
    bool first = true;
    const auto append = [&](const Label& label) {
        if (!first) {
            text += ',';
        }
        first = false;
        text += label.name;
        text += "=\"";
        text += EscapeLabelValue(label.value);
        text += '"';
    };
    for (const Label& label : labels) {
        append(label);
    }
    if (extra != nullptr) {
        append(*extra);
    }
    text += '}';
}

void AppendSample(std::string& text, std::string_view name, const Labels& labels,
                  const std::string& value, const Label* extra = nullptr) {
    text += name;
    AppendLabels(text, labels, extra);
    text += ' ';
    text += value;
    text += '\n';
}

}  // namespace

Histogram::Histogram(std::vector<double> bounds)
    : bounds_(std::move(bounds)),
      counts_(std::make_unique<std::atomic<std::uint64_t>[]>(bounds_.size() + 1)) {
    for (std::size_t i = 0; i < bounds_.size(); ++i) {
        if (!std::isfinite(bounds_[i]) || (i > 0 && bounds_[i] <= bounds_[i - 1])) {
            throw std::invalid_argument("histogram bounds must be finite and increasing");
        }
    }
}

void Histogram::Observe(double value) {
    if (std::isnan(value)) {
        return;
    }
    // The first bound at or above value; past every bound, the +Inf bucket.
    const auto bucket = std::lower_bound(bounds_.begin(), bounds_.end(), value) - bounds_.begin();
    counts_[static_cast<std::size_t>(bucket)].fetch_add(1, std::memory_order_relaxed);
    sum_.fetch_add(value, std::memory_order_relaxed);
}

std::vector<std::uint64_t> Histogram::CumulativeCounts() const {
    std::vector<std::uint64_t> cumulative(bounds_.size() + 1);
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < cumulative.size(); ++i) {
        total += counts_[i].load(std::memory_order_relaxed);
        cumulative[i] = total;
    }
    return cumulative;
}

std::vector<double> LatencyBuckets() {
    return {0.001, 0.0025, 0.005, 0.01, 0.025, 0.05, 0.1, 0.25, 0.5, 1, 2.5, 5, 10};
}

Registry::Family& Registry::FamilyOf(const std::string& name, const std::string& help, Type type,
                                     const Labels& labels) {
    if (!IsName(name, true)) {
        throw std::invalid_argument("not a metric name: " + name);
    }
    for (const Label& label : labels) {
        if (!IsName(label.name, false) || label.name.starts_with("__") ||
            (type == Type::Histogram && label.name == "le")) {
            throw std::invalid_argument("not a label name of " + name + ": " + label.name);
        }
    }
    const auto found = std::find_if(families_.begin(), families_.end(),
                                    [&](const Family& family) { return family.name == name; });
    if (found == families_.end()) {
        return families_.emplace_back(Family{name, help, type, {}});
    }
    if (found->type != type) {
        throw std::invalid_argument("metric " + name + " is already of another type");
    }
    return *found;
}

Counter& Registry::AddCounter(const std::string& name, const std::string& help, Labels labels,
                              Shown shown) {
    std::lock_guard lock(mutex_);
    Family& family = FamilyOf(name, help, Type::Counter, labels);
    Counter& counter = counters_.emplace_back();
    family.series.push_back(Series{std::move(labels), shown, &counter, nullptr, nullptr});
    return counter;
}

Gauge& Registry::AddGauge(const std::string& name, const std::string& help, Labels labels) {
    std::lock_guard lock(mutex_);
    Family& family = FamilyOf(name, help, Type::Gauge, labels);
    Gauge& gauge = gauges_.emplace_back();
    family.series.push_back(Series{std::move(labels), Shown::Always, nullptr, &gauge, nullptr});
    return gauge;
}

Histogram& Registry::AddHistogram(const std::string& name, const std::string& help,
                                  std::vector<double> bounds, Labels labels) {
    std::lock_guard lock(mutex_);
    // Made first: bounds it refuses must leave no family behind.
    Histogram& histogram = histograms_.emplace_back(std::move(bounds));
    Family* family = nullptr;
    try {
        family = &FamilyOf(name, help, Type::Histogram, labels);
    } catch (...) {
        histograms_.pop_back();
        throw;
    }
    family->series.push_back(
        Series{std::move(labels), Shown::Always, nullptr, nullptr, &histogram});
    return histogram;
}

void Registry::AddCollector(std::function<void()> collect) {
    std::lock_guard lock(mutex_);
    collectors_.push_back(std::move(collect));
}

std::string Registry::Render() const {
    std::lock_guard lock(mutex_);
    for (const auto& collect : collectors_) {
        collect();
    }
    std::string text;
    for (const Family& family : families_) {
        text += "# HELP " + family.name + ' ' + EscapeHelp(family.help) + '\n';
        const char* type = family.type == Type::Counter ? "counter"
                           : family.type == Type::Gauge ? "gauge"
                                                        : "histogram";
        text += "# TYPE " + family.name + ' ' + type + '\n';
        for (const Series& series : family.series) {
            if (series.counter != nullptr) {
                const std::uint64_t value = series.counter->Value();
                if (value > 0 || series.shown == Shown::Always) {
                    AppendSample(text, family.name, series.labels, std::to_string(value));
                }
            } else if (series.gauge != nullptr) {
                AppendSample(text, family.name, series.labels, FormatValue(series.gauge->Value()));
            } else {
                const Histogram& histogram = *series.histogram;
                const std::vector<std::uint64_t> counts = histogram.CumulativeCounts();
                const std::string bucket = family.name + "_bucket";
                for (std::size_t i = 0; i < counts.size(); ++i) {
                    const Label le{"le", i < histogram.Bounds().size()
                                             ? FormatValue(histogram.Bounds()[i])
                                             : "+Inf"};
                    AppendSample(text, bucket, series.labels, std::to_string(counts[i]), &le);
                }
                AppendSample(text, family.name + "_sum", series.labels,
                             FormatValue(histogram.Sum()));
                AppendSample(text, family.name + "_count", series.labels,
                             std::to_string(counts.back()));
            }
        }
    }
    return text;
}

std::string FormatValue(double value) {
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return value > 0 ? "+Inf" : "-Inf";
    }
    char buffer[32];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, written.ptr);
}

std::string EscapeLabelValue(std::string_view value) {
    std::string escaped;
    for (const char c : value) {
        if (c == '\\') {
            escaped += "\\\\";
        } else if (c == '"') {
            escaped += "\\\"";
        } else if (c == '\n') {
            escaped += "\\n";
        } else {
            escaped += c;
        }
    }
    return escaped;
}

}  // namespace ladder::metrics
