#pragma once

#include <QString>

// Permission cases prove nothing as root, and CI runs the suite as root. There the test
// function runs again, in a copy of this test program, as the unprivileged user nobody.
namespace Unprivileged {

bool isRoot();
// Runs the current test function and data row as nobody; false with its output on failure.
bool rerunCurrentTest(QString *output);

} // namespace Unprivileged

// At the top of a test function that needs an ordinary user's permissions.
#define ORVANE_RUN_UNPRIVILEGED()                                                                  \
    do {                                                                                           \
        if (Unprivileged::isRoot()) {                                                              \
            QString output_;                                                                       \
            const bool passed_ = Unprivileged::rerunCurrentTest(&output_);                         \
            QVERIFY2(passed_, qPrintable(output_));                                                \
            return;                                                                                \
        }                                                                                          \
    } while (false)
