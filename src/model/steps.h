#pragma once

// The relay steps of the tuner the console was made for, as its step options propose them:
// 12 pF for the least capacitance relay, 50 nH for the least inductance relay. A new
// installation starts from them, and so does the virtual controller.
namespace DefaultSteps {
constexpr int CapacitancePf = 12;
constexpr int InductanceNh = 50;
} // namespace DefaultSteps
