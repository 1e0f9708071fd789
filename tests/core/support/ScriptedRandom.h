#pragma once

#include "core/runtime/RandomSource.h"

#include <deque>
#include <initializer_list>
#include <random>

namespace korval::testing {

// A random source whose draws a test writes down in advance. Once the script
// runs out it goes on with a fixed pseudo-random sequence, so tests that do
// not care about later draws still get valid ones.
class ScriptedRandom final : public RandomSource {
public:
    void script(std::initializer_list<double> draws) { script_.insert(script_.end(), draws); }
    void scriptRepeated(double draw, int times) { script_.insert(script_.end(), static_cast<std::size_t>(times), draw); }

    void seedFromClock() override { ++seedings; }
    double next() override
    {
        ++draws;
        if (!script_.empty()) {
            const double draw = script_.front();
            script_.pop_front();
            return draw;
        }
        return fallback_(engine_);
    }

    std::size_t scriptLeft() const { return script_.size(); }

    int seedings = 0;
    int draws = 0;

private:
    std::deque<double> script_;
    std::mt19937 engine_{12345};
    std::uniform_real_distribution<double> fallback_{0.0, 1.0};
};

} // namespace korval::testing
