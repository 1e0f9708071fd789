#pragma once

#include <random>

namespace korval {

// The program's only source of random numbers: uniform draws r, 0 <= r < 1.
// Nothing outside the platform layer reaches a generator of its own; tests
// hand the forms a scripted source so that every draw is known.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void seedFromClock() = 0;
    virtual double next() = 0;
};

class ClockSeededRandom final : public RandomSource {
public:
    void seedFromClock() override;
    double next() override;

private:
    std::mt19937_64 engine_{0};
    std::uniform_real_distribution<double> uniform_{0.0, 1.0};
};

} // namespace korval
